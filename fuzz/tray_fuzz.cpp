// The tray decoder under arbitrary notifications: any X position, any scale,
// notifications nested inside the pop-up menu and the double-click handler,
// the instance released from its own menu, and tooltips of any length.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fakes/fake_tray.h"
#include "fakes/fake_window.h"
#include "platform/notification_area.h"
#include "tray/tray_icon.h"

namespace {

using calvorin::fakes::FakePicture;
using calvorin::tray::TrayIcon;
using Owner = calvorin::fakes::FakeWindow;

class Area final : public calvorin::platform::NotificationArea {
 public:
  bool notifyIcon(std::uint32_t, const calvorin::platform::NotifyIconRecord& record) override {
    // The shell reads the tip up to its NUL: it must be inside the field.
    const auto& layout = calvorin::platform::kNotifyIconLayout;
    if (record.size() != layout.size ||
        (std::memchr(record.data() + layout.szTip, 0, calvorin::platform::kNotifyIconTipWidth) ==
             nullptr &&
         record[0] != 0))
      std::abort();
    return true;
  }
  bool showWarningBalloon(std::uint32_t, std::uint32_t, const std::string&,
                          const std::string&) override {
    return true;
  }
};

// Each action may deliver more notifications, as a real menu's message loop
// would, and may release the tray icon.
class Host final : public calvorin::tray::TrayHost {
 public:
  Host(FuzzedDataProvider& data, Owner& owner) : data_(data), owner_(owner) {}

  void popUpTrayMenu() override { whileBusy(); }
  float twipsPerPixelX() const override { return twips; }

  void deliver() {
    if (auto* listener = owner_.mouseMoveListener()) {
      listener->OwnerMouseMove(0, 0, data_.ConsumeFloatingPoint<float>(), 0.0f);
    }
  }

  void whileBusy() {
    if (++depth_ > 1)
      std::abort();  // a second menu or handler inside the first
    const int nested = data_.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < nested; ++i)
      deliver();
    if (data_.ConsumeBool())
      icon.reset();
    --depth_;
  }

  float twips = 15.0f;
  std::shared_ptr<TrayIcon> icon;

 private:
  FuzzedDataProvider& data_;
  Owner& owner_;
  int depth_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  Owner owner{0x10020};
  Area area;
  Host host(data, owner);
  host.twips = data.ConsumeFloatingPoint<float>();
  host.icon = std::make_shared<TrayIcon>(area, host);
  host.icon->setOwnerForm(&owner);
  host.icon->setIcon(std::make_shared<FakePicture>(0x1234));
  host.icon->MouseDblClick = [&host](std::int16_t button) {
    if (button != 1)
      std::abort();
    host.whileBusy();
  };
  while (data.remaining_bytes() > 0 && host.icon) {
    switch (data.ConsumeIntegralInRange(0, 4)) {
      case 0:
        host.deliver();
        break;
      case 1:
        host.icon->setTooltip(data.ConsumeRandomLengthString(200));
        break;
      case 2:
        host.icon->Add();
        break;
      case 3:
        host.icon->Modify();
        break;
      case 4:
        host.icon->Remove();
        break;
    }
  }
  return 0;
}
