#pragma once

#include "platform/notification_area.h"

namespace calvorin::win32 {

class ShellNotificationArea final : public platform::NotificationArea {
 public:
  bool notifyIcon(std::uint32_t request, const platform::NotifyIconRecord& record) override;
};

}  // namespace calvorin::win32
