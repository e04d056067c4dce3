#pragma once

#include "platform/notification_area.h"

namespace calvorin::win32 {

class ShellNotificationArea final : public platform::NotificationArea {
 public:
  bool notifyIcon(std::uint32_t request, const platform::NotifyIconRecord& record) override;
  bool showWarningBalloon(std::uint32_t window, std::uint32_t id, const std::string& title,
                          const std::string& text) override;
};

}  // namespace calvorin::win32
