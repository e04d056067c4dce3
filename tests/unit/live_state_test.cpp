#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/form1_harness.h"

namespace calvorin::app {
namespace {

using autostart::kRunKey;
constexpr char kWarning[] =
    "Calvorin 1.0|The Messenger service was started. Your System is vulnerable to Messenger "
    "Spam.";

class LiveStateTest : public fakes::Form1Harness {
 protected:
  void loaded(const char* state) {
    platform.service.state = state;
    ASSERT_TRUE(form.load());
  }
};

TEST_F(LiveStateTest, AnOutsideStartIsShownOnceWithAWarningAfterTheIconIsBack) {
  loaded("Stopped");
  const int locators = platform.service.locatorsCreated;
  platform.service.state = "Running";

  form.timerElapsed(Timer1);
  form.timerElapsed(Timer1);

  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
  EXPECT_EQ(window().label(Label1).text(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_FALSE(window().menuItem(mnustart).enabled());
  EXPECT_EQ(platform.notificationArea.balloons, std::vector<std::string>{kWarning});
  EXPECT_EQ(platform.service.locatorsCreated, locators) << "no new connection";
  EXPECT_FALSE(window().visible());
  EXPECT_TRUE(platform.ui.messages.empty());
}

TEST_F(LiveStateTest, AnOutsideStopIsShownWithoutAWarning) {
  loaded("Running");
  platform.service.state = "Stopped";

  form.Timer1_Timer();

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
  EXPECT_FALSE(window().picture(Image3).enabled());
  EXPECT_EQ(window().label(Label1).text(), "Service is disabled in System profile.");
  EXPECT_TRUE(window().menuItem(mnuAdis).enabled());
  EXPECT_EQ(platform.notificationArea.requests.size(), requests) << "the icon is left alone";

  platform.service.state = "Stopped";
  form.Timer1_Timer();
  EXPECT_EQ(window().label(Label1).text(), "Service is disabled in System profile.");

  platform.service.startMode = "Manual";
  form.Timer1_Timer();
  EXPECT_TRUE(window().picture(Image3).enabled());
}

// Everything the status display shows but the window's visibility, which
// Refresh changes and a tick must not.
std::string display(fakes::FakePlatform& platform) {
  auto& window = platform.window();
  std::string shown = window.label(Label1).text() + "|" +
                      std::to_string(window.label(Label1).textColor()) + "|" +
                      platform.notificationArea.lastTip() + "|" +
                      std::to_string(platform.notificationArea.lastIcon()) + "|";
  for (Form1Control picture : {Image3, Image4})
    shown += window.picture(picture).enabled() ? '1' : '0';
  for (Form1Menu entry : {mnustart, mnuStop, mnuAst, mnuAdis})
    shown += window.menuItem(entry).enabled() ? '1' : '0';
  return shown;
}

TEST_F(LiveStateTest, ATickLeavesTheDisplayExactlyAsRefreshWould) {
  struct Change {
    const char* stateBefore;
    const char* startModeBefore;
    const char* stateAfter;
    const char* startModeAfter;
  };
  for (const Change& change : {Change{"Running", "Disabled", "Running", "Manual"},
                               Change{"Stopped", "Disabled", "Stopped", "Auto"},
                               Change{"Stopped", "Disabled", "Running", "Manual"},
                               Change{"Running", "Manual", "Running", "Disabled"},
                               Change{"Running", "Disabled", "Stopped", "Disabled"},
                               Change{"Stopped", "Manual", "Running", "Disabled"}}) {
    SCOPED_TRACE(std::string(change.stateBefore) + "/" + change.startModeBefore + " to " +
                 change.stateAfter + "/" + change.startModeAfter);
    fakes::FakePlatform outside;
    Form1 watching(outside.ports());
    outside.service.state = change.stateBefore;
    outside.service.startMode = change.startModeBefore;
    ASSERT_TRUE(watching.load());
    outside.service.state = change.stateAfter;
    outside.service.startMode = change.startModeAfter;

    watching.Timer1_Timer();
    const std::string afterTick = display(outside);
    watching.mnuRefresh_Click();

    EXPECT_EQ(afterTick, display(outside));
  }
}

TEST_F(LiveStateTest, TheProgramsOwnStartThatArrivesLateIsNoOutsideStart) {
  loaded("Stopped");
  platform.service.stateAfterStart = "Start Pending";
  // Running 50 s into the minute's wait: after its last check, at 45 s.
  const double requested = platform.clock.time;
  platform.clock.onRead = [&](double now) {
    if (now > requested + 50 && platform.service.state == "Start Pending")
      platform.service.state = "Running";
  };
  form.StartMessenger();
  ASSERT_EQ(platform.ui.messages.back().text, " Unable To Start Service. Try Again");

  form.Timer1_Timer();
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
  EXPECT_TRUE(platform.notificationArea.balloons.empty());

  // Afterwards a start from outside warns again.
  platform.service.state = "Stopped";
  form.Timer1_Timer();
  platform.service.state = "Running";
  form.Timer1_Timer();
  EXPECT_EQ(platform.notificationArea.balloons, std::vector<std::string>{kWarning});
}

TEST_F(LiveStateTest, ATickKeepsOutOfCommandsMenusAndMessageBoxes) {
  loaded("Stopped");
  platform.service.state = "Running";
  const auto requests = platform.notificationArea.requests.size();
  platform.ui.whileMessageIsShown = [this] { form.Timer1_Timer(); };
  form.StopMessenger();
  EXPECT_EQ(platform.notificationArea.requests.size(), requests)
      << "no tick inside the command's box";

  window().whileMenuIsOpen = [this] { form.Timer1_Timer(); };
  window().deliverTrayCode(517);
  EXPECT_EQ(platform.notificationArea.requests.size(), requests)
      << "no tick while the menu is open";

  form.Timer1_Timer();
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
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
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
}

TEST_F(LiveStateTest, ALostConnectionIsMadeAnewOncePerTickUntilAReadingSucceeds) {
  loaded("Stopped");
  // The WMI service restarts: the old connection is dead, and for a while no
  // new one can be made. Meanwhile the Messenger service is started outside.
  platform.service.deadBefore = platform.service.connections.size();
  platform.service.connectFails = true;
  platform.service.state = "Running";
  const int locators = platform.service.locatorsCreated;
  for (int tick = 0; tick < 3; ++tick)
    form.Timer1_Timer();
  EXPECT_EQ(platform.service.locatorsCreated, locators + 2) << "one new connection per tick";
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Stopped");
  EXPECT_TRUE(platform.ui.messages.empty());

  platform.service.connectFails = false;
  form.Timer1_Timer();
  form.Timer1_Timer();
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Running");
  EXPECT_EQ(window().label(Label1).text(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(platform.notificationArea.balloons, std::vector<std::string>{kWarning});
  EXPECT_EQ(platform.service.locatorsCreated, locators + 3) << "no new connection once it reads";
}

TEST_F(LiveStateTest, AFailedCommandIsShownAndTheNextTickConnectsAnew) {
  loaded("Running");
  platform.service.deadBefore = platform.service.connections.size();
  try {
    form.StopMessenger();
    FAIL() << "a dead connection cannot stop the service";
  } catch (const platform::PlatformError& error) {
    form.handlerFailed(error);  // as the window's dispatch does
  }
  ASSERT_EQ(platform.ui.messages.size(), 1u);
  EXPECT_EQ(platform.ui.messages[0].text, "The object invoked has disconnected");

  const int locators = platform.service.locatorsCreated;
  platform.service.state = "Stopped";
  form.Timer1_Timer();
  EXPECT_EQ(platform.service.locatorsCreated, locators + 1);
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Stopped");
}

TEST_F(LiveStateTest, AnIconTheShellRefusedAtLogonIsAddedOnALaterTick) {
  platform.notificationArea.busyFor = 4;
  loaded("Stopped");
  EXPECT_TRUE(platform.notificationArea.shown.empty());

  form.timerElapsed(Timer1);
  form.timerElapsed(Timer1);

  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Stopped");
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
