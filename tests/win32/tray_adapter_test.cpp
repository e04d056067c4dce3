#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/form1_layout.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/shell_notification_area.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_ui.h"
#include "recording_events.h"
#include "tray/tray_icon.h"
#include "processes.h"
#include "tray_reader.h"

namespace calvorin {
namespace {

using testkit::readTrayIcons;
using testkit::RecordingEvents;
using testkit::waitForTrayTooltip;

class Host final : public tray::TrayHost {
 public:
  void popUpTrayMenu() override { ++popups; }
  float twipsPerPixelX() const override { return ui.twipsPerPixelX(); }
  win32::Win32HelpEngine helpEngine;
  win32::Win32Ui ui{helpEngine};
  int popups = 0;
};

// The real notification area, keeping the shell's answers.
class AnsweringArea final : public platform::NotificationArea {
 public:
  bool notifyIcon(std::uint32_t request, const platform::NotifyIconRecord& record) override {
    answers.push_back(real_.notifyIcon(request, record));
    return answers.back();
  }
  bool showWarningBalloon(std::uint32_t window, std::uint32_t id, const std::string& title,
                          const std::string& text) override {
    return real_.showWarningBalloon(window, id, title, text);
  }
  std::vector<bool> answers;

 private:
  win32::ShellNotificationArea real_;
};

class TrayAdapterTest : public ::testing::Test {
 protected:
  TrayAdapterTest() {
    platform::FormDescription description;
    description.caption = "tray owner";
    description.clientWidth = 1500;
    description.clientHeight = 1500;
    description.pictures = {{app::Image1, {0, 0, 480, 480}, "RUNNING", false, false},
                            {app::Image2, {0, 0, 480, 480}, "STOPPED", false, false}};
    owner = host.ui.createForm(description, events);
    t = std::make_shared<tray::TrayIcon>(area, host);
    t->setOwnerForm(owner.get());
    t->setIcon(owner->picture(app::Image1).picture());
    t->setTooltip("Service is Running");
  }
  ~TrayAdapterTest() override { t->Remove(); }

  HWND ownerWindow() { return win32::fromPortHandle<HWND>(owner->handle()); }

  int iconsOfOwner() {
    int count = 0;
    for (const auto& icon : readTrayIcons()) {
      if (icon.owner == ownerWindow())
        ++count;
    }
    return count;
  }

  Host host;
  RecordingEvents events;
  AnsweringArea area;
  std::unique_ptr<platform::Form> owner;
  std::shared_ptr<tray::TrayIcon> t;
};

TEST_F(TrayAdapterTest, AddModifyAndRemoveARealIcon) {
  t->Add();
  ASSERT_TRUE(waitForTrayTooltip(L"Service is Running", 5000));
  const auto icons = readTrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].owner, ownerWindow());
  EXPECT_EQ(icons[0].id, 1u);
  EXPECT_EQ(icons[0].callbackMessage, static_cast<UINT>(WM_MOUSEMOVE));

  t->setIcon(owner->picture(app::Image2).picture());
  t->setTooltip("Service is Stopped");
  t->Modify();
  EXPECT_TRUE(waitForTrayTooltip(L"Service is Stopped", 5000));
  EXPECT_EQ(iconsOfOwner(), 1);

  t->Remove();
  EXPECT_TRUE(testkit::waitForTrayTooltipGone(L"Service is Stopped", 5000));
  EXPECT_EQ(iconsOfOwner(), 0);
}

TEST_F(TrayAdapterTest, TheShellRefusesASecondAddAndKeepsTheFirstTooltip) {
  t->Add();
  ASSERT_TRUE(waitForTrayTooltip(L"Service is Running", 5000));
  t->setTooltip("Service is Stopped");
  t->Add();

  EXPECT_EQ(area.answers, (std::vector<bool>{true, false}));
  EXPECT_EQ(t->State(), 1);
  EXPECT_EQ(iconsOfOwner(), 1);
  EXPECT_EQ(testkit::countTrayIcons(L"Service is Running"), 1);
}

TEST_F(TrayAdapterTest, ARightClickOnTheIconReachesTheDecoderAsCode517) {
  int doubleClicks = 0;
  t->MouseDblClick = [&](std::int16_t) { ++doubleClicks; };
  t->Add();
  ASSERT_TRUE(waitForTrayTooltip(L"Service is Running", 5000));
  const auto icons = readTrayIcons();
  ASSERT_EQ(icons.size(), 1u);

  testkit::postTrayMouseMessage(icons[0], WM_RBUTTONUP);
  testkit::waitUntil([&] { return host.popups != 0; }, 5000, testkit::Pump::Messages);

  EXPECT_EQ(host.popups, 1) << "517, a right-button release, pops up the menu";
  EXPECT_EQ(doubleClicks, 0);
}

}  // namespace
}  // namespace calvorin
