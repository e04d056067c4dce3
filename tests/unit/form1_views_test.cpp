#include <gtest/gtest.h>

#include "fakes/form1_harness.h"

namespace calvorin::app {
namespace {

using fakes::FakeForm;
using fakes::FakeNotificationArea;

class Form1Test : public fakes::Form1Harness {
 protected:
  fakes::FakeServiceManager& manager = platform.service;
  FakeNotificationArea& area = platform.notificationArea;
};

TEST_F(Form1Test, RemoveThenShowRunningLeavesOneRunningIcon) {
  manager.state = "Stopped";
  ASSERT_TRUE(form.load());

  form.RemoveTrayIcon();
  form.ShowRunning();

  EXPECT_EQ(area.shown.size(), 1u);
  EXPECT_EQ(area.requests.back().code, platform::kNimAdd);
  EXPECT_EQ(area.lastIcon(), pictureHandle(Image1));
  EXPECT_EQ(area.lastTip(), "Service is Running");
  EXPECT_FALSE(window().menuItem(mnustart).enabled());
  EXPECT_TRUE(window().menuItem(mnuStop).enabled());
  EXPECT_EQ(window().label(Label1).text(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(window().label(Label1).textColor(), 0x00C000u);
}

TEST_F(Form1Test, ShowStoppedTwiceLeavesOneStoppedIcon) {
  manager.state = "Running";
  ASSERT_TRUE(form.load());

  form.ShowStopped();
  form.ShowStopped();

  EXPECT_EQ(area.shown.size(), 1u);
  EXPECT_EQ(area.requests.back().code, platform::kNimModify);
  EXPECT_EQ(area.lastIcon(), pictureHandle(Image2));
  EXPECT_EQ(area.lastTip(), "Service is Stopped");
  EXPECT_TRUE(window().menuItem(mnustart).enabled());
  EXPECT_FALSE(window().menuItem(mnuStop).enabled());
  EXPECT_EQ(window().label(Label1).text(), "Your System is protected from Messenger Spam.");
  EXPECT_EQ(window().label(Label1).textColor(), 0x0040C0u);
}

TEST_F(Form1Test, AViewReplacesTheStatusLineWholeTextFirstThenColour) {
  ASSERT_TRUE(form.load());
  auto& label = window().label(Label1);
  label.setText("Stoping Service.>>>");
  label.setTextColor(0x00FFFF);
  label.history.clear();

  form.ShowStopped();

  EXPECT_EQ(label.history,
            (std::vector<std::string>{"text:Your System is protected from Messenger Spam.",
                                      "color:" + std::to_string(0x0040C0)}));
}

TEST_F(Form1Test, ViewsLeaveButtonsAutoStartEntriesVisibilityAndTheFlagAlone) {
  manager.state = "Stopped";
  ASSERT_TRUE(form.load());
  auto& w = window();
  w.picture(Image3).setEnabled(false);
  w.picture(Image4).setEnabled(false);
  w.menuItem(mnuAst).setEnabled(false);
  w.menuItem(mnuAdis).setEnabled(true);
  w.hide();

  form.RemoveTrayIcon();
  form.ShowRunning();
  form.ShowStopped();

  EXPECT_FALSE(w.picture(Image3).enabled());
  EXPECT_FALSE(w.picture(Image4).enabled());
  EXPECT_FALSE(w.menuItem(mnuAst).enabled());
  EXPECT_TRUE(w.menuItem(mnuAdis).enabled());
  EXPECT_FALSE(w.visible());
  EXPECT_FALSE(platform.holdsRunning(form)) << "the running view set no flag";
}

TEST_F(Form1Test, ARightButtonReleaseOnTheTrayPopsUpTheServiceMenu) {
  ASSERT_TRUE(form.load());

  window().deliverTrayCode(517);

  EXPECT_EQ(window().popups, std::vector<platform::MenuId>{mnuFile});
}

}  // namespace
}  // namespace calvorin::app
