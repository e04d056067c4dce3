#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "fakes/fake_platform.h"

namespace calvorin::app {
namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kWarning[] =
    "Calvorin 1.0|The Messenger service was started. Your System is vulnerable to Messenger "
    "Spam.";

class LiveStateTest : public ::testing::Test {
 protected:
  void loaded(const char* state) {
    platform.service.state = state;
    ASSERT_TRUE(form.load());
  }
  fakes::FakeForm& window() { return platform.window(); }

  fakes::FakePlatform platform;
  Form1 form{platform.ports()};
};

TEST_F(LiveStateTest, AnOutsideStartIsShownOnceWithAWarningAfterTheIconIsBack) {
  loaded("Stopped");
  const int locators = platform.service.locatorsCreated;
  platform.service.state = "Running";

  form.timerElapsed("Timer1");
  form.timerElapsed("Timer1");

  EXPECT_TRUE(form.messenger().ServiceRunning);
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
  EXPECT_EQ(window().label("Label1").text(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_FALSE(window().menuItem("mnustart").enabled());
  EXPECT_EQ(platform.notificationArea.balloons, std::vector<std::string>{kWarning});
  EXPECT_EQ(platform.service.locatorsCreated, locators) << "no new connection";
  EXPECT_FALSE(window().visible());
  EXPECT_TRUE(platform.ui.messages.empty());
}

TEST_F(LiveStateTest, AnOutsideStopIsShownWithoutAWarning) {
  loaded("Running");
  platform.service.state = "Stopped";

  form.Timer1_Timer();

  EXPECT_FALSE(form.messenger().ServiceRunning);
  EXPECT_EQ(platform.notificationArea.requests.back().code, platform::kNimModify);
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Stopped");
  EXPECT_TRUE(platform.notificationArea.balloons.empty());
}

TEST_F(LiveStateTest, StartModeAndRegistrationChangesAreFollowed) {
  loaded("Running");
  const auto requests = platform.notificationArea.requests.size();

  platform.service.startMode = "Disabled";
  platform.registry.put(kRunKey, "Calvorin", 1, {'x', 0});
  form.Timer1_Timer();
  EXPECT_FALSE(window().picture("Image3").enabled());
  EXPECT_EQ(window().label("Label1").text(), "Service is disabled in System profile.");
  EXPECT_TRUE(window().menuItem("mnuAdis").enabled());
  EXPECT_EQ(platform.notificationArea.requests.size(), requests) << "the icon is left alone";

  platform.service.state = "Stopped";
  form.Timer1_Timer();
  EXPECT_EQ(window().label("Label1").text(), "Service is disabled in System profile.");

  platform.service.startMode = "Manual";
  form.Timer1_Timer();
  EXPECT_TRUE(window().picture("Image3").enabled());
}

TEST_F(LiveStateTest, ATickKeepsOutOfCommandsMenusAndMessageBoxes) {
  loaded("Stopped");
  platform.service.state = "Running";
  platform.ui.whileMessageIsShown = [this] { form.Timer1_Timer(); };
  form.StopMessenger();
  EXPECT_FALSE(form.messenger().ServiceRunning) << "no tick inside the command's box";

  window().whileMenuIsOpen = [this] { form.Timer1_Timer(); };
  window().deliverTrayCode(517);
  EXPECT_FALSE(form.messenger().ServiceRunning) << "no tick while the menu is open";

  form.Timer1_Timer();
  EXPECT_TRUE(form.messenger().ServiceRunning);
}

TEST_F(LiveStateTest, AFailingTickShowsNothingAndTheNextOneCatchesUp) {
  loaded("Stopped");
  platform.service.serviceExists = false;
  for (int i = 0; i < 5; ++i)
    form.Timer1_Timer();
  EXPECT_TRUE(platform.ui.messages.empty());

  platform.service.serviceExists = true;
  platform.service.state = "Running";
  form.Timer1_Timer();
  EXPECT_TRUE(form.messenger().ServiceRunning);
}

TEST_F(LiveStateTest, ARestartedNotificationAreaGetsTheIconBackAsItWas) {
  loaded("Running");
  platform.notificationArea.shown.clear();

  form.notificationAreaCreated();

  EXPECT_EQ(platform.notificationArea.requests.back().code, platform::kNimAdd);
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);

  window().requestClose();
  window().requestClose();
  const auto requests = platform.notificationArea.requests.size();
  form.notificationAreaCreated();
  EXPECT_EQ(platform.notificationArea.requests.size(), requests) << "no icon after the end";
}

}  // namespace
}  // namespace calvorin::app
