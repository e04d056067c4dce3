#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/notification_area.h"
#include "platform/picture.h"
#include "platform/window.h"
#include "tray/tray_icon.h"

namespace calvorin::fakes {

// Keeps icons by owner and id, and refuses what the shell refuses: a second
// add of a shown icon, a modify or delete of one that is not shown, and
// every request while it is busy.
class FakeNotificationArea final : public platform::NotificationArea {
 public:
  struct Request {
    std::uint32_t code;
    platform::NotifyIconRecord record;
  };

  bool notifyIcon(std::uint32_t code, const platform::NotifyIconRecord& record) override {
    requests.push_back({code, record});
    if (busyFor > 0) {
      --busyFor;
      return false;
    }
    const auto& layout = layoutOf(record);
    const auto key =
        std::make_pair(readUint32(record, layout.hWnd), readUint32(record, layout.uID));
    switch (code) {
      case platform::kNimAdd:
        return shown.insert(key).second;
      case platform::kNimModify:
        return shown.count(key) == 1;
      case platform::kNimDelete:
        return shown.erase(key) == 1;
      default:
        return false;
    }
  }

  // The tooltip and the icon handle of the last request, as the shell reads them.
  std::string lastTip() const {
    const auto& record = requests.back().record;
    const std::string tip(reinterpret_cast<const char*>(record.data()) + layoutOf(record).szTip,
                          platform::kNotifyIconTipWidth);
    return tip.substr(0, tip.find('\0'));
  }
  std::uint32_t lastIcon() const {
    const auto& record = requests.back().record;
    return readUint32(record, layoutOf(record).hIcon);
  }

  // The layout a record of this size has.
  static const platform::NotifyIconLayout& layoutOf(const platform::NotifyIconRecord& record) {
    return record.size() == platform::kNotifyIconLayout64.size ? platform::kNotifyIconLayout64
                                                               : platform::kNotifyIconLayout32;
  }
  static std::uint32_t readUint32(const platform::NotifyIconRecord& record, std::size_t offset) {
    return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 |
           static_cast<std::uint32_t>(record[offset + 3]) << 24;
  }

  bool showWarningBalloon(std::uint32_t window, std::uint32_t id, const std::string& title,
                          const std::string& text) override {
    balloons.push_back(title + "|" + text);
    return shown.count({window, id}) == 1;
  }

  std::vector<Request> requests;
  // How many more requests the shell refuses, as one starting at logon does.
  int busyFor = 0;
  std::set<std::pair<std::uint32_t, std::uint32_t>> shown;
  std::vector<std::string> balloons;
};

class FakePicture final : public platform::Picture {
 public:
  explicit FakePicture(std::uint32_t handle) : handle_(handle) {}
  std::uint32_t handle() const override { return handle_; }

 private:
  std::uint32_t handle_;
};

class FakeTrayHost final : public tray::TrayHost {
 public:
  void popUpTrayMenu() override {
    ++popups;
    if (whileMenuIsOpen)
      whileMenuIsOpen();
  }
  float twipsPerPixelX() const override { return twips; }

  int popups = 0;
  float twips = 15.0f;
  std::function<void()> whileMenuIsOpen;
};

}  // namespace calvorin::fakes
