#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/form1_harness.h"

namespace calvorin::app {
namespace {

using platform::MessageIcon;

// Drives the start and stop commands on a fake clock: every reading moves it
// by a millisecond, so a 60-second wait takes no real time.
class ServiceCommandTest : public fakes::Form1Harness {
 protected:
  void loaded(const char* state) {
    platform.service.state = state;
    ASSERT_TRUE(form.load());
    auto& label = platform.window().label(Label1);
    label.onText = [this](const std::string& text) {
      if (text == "Starting Service." || text == "Stoping Service.")
        waitBegan = platform.clock.time;
      texts.push_back(text);
    };
    platform.ui.whileMessageIsShown = [this] { reportedAt = platform.clock.time; };
    requestsBefore = platform.notificationArea.requests.size();
  }

  double secondsToReport() const { return reportedAt - waitBegan; }
  const fakes::FakeUi::Message& lastMessage() { return platform.ui.messages.back(); }
  bool buttonsEnabled() { return platform.window().picture(Image3).enabled(); }
  std::string status() { return platform.window().label(Label1).text(); }
  std::uint32_t statusColor() { return platform.window().label(Label1).textColor(); }

  // The number of ">" at the end of each progress text shown.
  std::vector<int> markerRuns(const std::string& base) {
    std::vector<int> runs;
    for (const auto& text : texts) {
      if (text.rfind(base, 0) != 0)
        continue;
      runs.push_back(static_cast<int>(text.size() - base.size()));
      EXPECT_EQ(text.substr(base.size()), std::string(runs.back(), '>'));
    }
    return runs;
  }

  // Records when, in seconds into the wait, the service is fetched.
  void recordFetches() {
    platform.service.onFetch = [this] {
      if (waitBegan > 0)
        fetchedAt.push_back(platform.clock.time - waitBegan);
    };
  }

  // Whether every fetch fell in one of the check windows, each the second
  // before the end given, and every window saw one.
  ::testing::AssertionResult everyFetchIn(std::initializer_list<double> windowEnds) {
    std::vector<bool> hit(windowEnds.size(), false);
    for (double elapsed : fetchedAt) {
      std::size_t window = 0;
      for (double end : windowEnds) {
        if (elapsed > end - 1 && elapsed <= end + 0.01)
          break;
        ++window;
      }
      if (window == hit.size())
        return ::testing::AssertionFailure() << "fetched " << elapsed << " s into the wait";
      hit[window] = true;
    }
    for (std::size_t i = 0; i < hit.size(); ++i) {
      if (!hit[i])
        return ::testing::AssertionFailure() << "no fetch in check window " << i;
    }
    return ::testing::AssertionSuccess();
  }

  std::vector<double> fetchedAt;
  std::vector<std::string> texts;
  double waitBegan = 0;
  double reportedAt = 0;
  std::size_t requestsBefore = 0;
};

TEST_F(ServiceCommandTest, ADisabledServiceGetsNoRequestAndLosesItsPictureButtons) {
  loaded("Running");
  platform.service.startMode = "Disabled";

  form.StopMessenger();

  ASSERT_EQ(platform.ui.messages.size(), 1u);
  EXPECT_EQ(lastMessage().text,
            "Either Messenger Service is desabled from Profile or dependency service is stopped "
            "or desabled in profile");
  EXPECT_EQ(lastMessage().title, "Calvorin");
  EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
  EXPECT_FALSE(buttonsEnabled());
  EXPECT_FALSE(platform.window().picture(Image4).enabled());
  EXPECT_EQ(status(), "Service is disabled in System profile.");
  EXPECT_EQ(statusColor(), 0x0040C0u);
  EXPECT_TRUE(platform.service.methodCalls.empty());
}

TEST_F(ServiceCommandTest, ADisabledStartLeavesTheStatusLineAlone) {
  loaded("Stopped");
  platform.service.startMode = "Disabled";

  form.StartMessenger();

  EXPECT_EQ(lastMessage().title, "Calvorin");
  EXPECT_FALSE(buttonsEnabled());
  EXPECT_EQ(status(), "Your System is protected from Messenger Spam.");
  EXPECT_TRUE(platform.service.methodCalls.empty());
}

TEST_F(ServiceCommandTest, AlreadyInTheWantedStateTheCommandsOnlySaySo) {
  loaded("Running");
  platform.window().picture(Image3).setEnabled(false);
  platform.window().picture(Image4).setEnabled(false);

  form.StartMessenger();
  EXPECT_EQ(lastMessage().text, "Service is already running.");
  EXPECT_EQ(lastMessage().title, "Tervalis.");
  EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
  EXPECT_TRUE(buttonsEnabled());

  EXPECT_TRUE(platform.service.methodCalls.empty());

  fakes::FakePlatform stopped;
  stopped.service.state = "Stopped";
  Form1 other(stopped.ports());
  ASSERT_TRUE(other.load());
  other.StopMessenger();
  EXPECT_EQ(stopped.ui.messages.back().text, "Service is already stopped.");
  EXPECT_EQ(stopped.ui.messages.back().title, "Calvorin 1.0");
  EXPECT_TRUE(stopped.service.methodCalls.empty());
}

TEST_F(ServiceCommandTest, AStartThatSucceedsAtOnceIsReportedAtTheFirstCheck) {
  loaded("Stopped");

  form.StartMessenger();

  EXPECT_EQ(lastMessage().text, "Service started Successfully.");
  EXPECT_EQ(lastMessage().title, "Calvorin 1.0");
  EXPECT_GT(secondsToReport(), 14.0);
  EXPECT_LE(secondsToReport(), 15.0);
  const auto& requests = platform.notificationArea.requests;
  ASSERT_EQ(requests.size(), requestsBefore + 2);
  EXPECT_EQ(requests[requestsBefore].code, platform::kNimDelete);
  EXPECT_EQ(requests[requestsBefore + 1].code, platform::kNimAdd);
  EXPECT_EQ(status(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_FALSE(platform.window().menuItem(mnustart).enabled());
}

TEST_F(ServiceCommandTest, AStopThatSucceedsAtOnceIsReportedFourToFiveSecondsIn) {
  loaded("Running");

  form.StopMessenger();

  EXPECT_EQ(lastMessage().text, "Service stopped Successfully.");
  EXPECT_GT(secondsToReport(), 4.0);
  EXPECT_LE(secondsToReport(), 5.0);
  EXPECT_EQ(platform.notificationArea.requests.back().code, platform::kNimModify);
  EXPECT_EQ(status(), "Your System is protected from Messenger Spam.");
  EXPECT_FALSE(platform.holdsRunning(form));
}

TEST_F(ServiceCommandTest, AServiceThatNeverStartsFailsAfterTheFullMinute) {
  loaded("Stopped");
  platform.service.stateAfterStart = "Start Pending";

  form.StartMessenger();

  EXPECT_EQ(lastMessage().text, " Unable To Start Service. Try Again");
  EXPECT_EQ(lastMessage().title, "Calvorin 1.0");
  EXPECT_GE(secondsToReport(), 60.0);
  EXPECT_LT(secondsToReport(), 60.1);
  EXPECT_EQ(platform.notificationArea.requests.size(), requestsBefore);
  EXPECT_EQ(status(), "Your System is protected from Messenger Spam.");
  EXPECT_EQ(statusColor(), 0x0040C0u);
  EXPECT_FALSE(platform.holdsRunning(form));
}

TEST_F(ServiceCommandTest, AServiceThatNeverStopsFailsAfterFifteenSeconds) {
  loaded("Running");
  platform.service.stateAfterStop = "Running";

  form.StopMessenger();

  EXPECT_EQ(lastMessage().text, "Unable To Stop Service. Try again");
  EXPECT_GE(secondsToReport(), 15.0);
  EXPECT_LT(secondsToReport(), 15.1);
  EXPECT_EQ(platform.notificationArea.requests.size(), requestsBefore);
  EXPECT_EQ(status(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(statusColor(), 0x00C000u);
  EXPECT_TRUE(platform.holdsRunning(form));
}

// A user without the rights to control the service is told so at once:
// waiting could never end otherwise, and trying again cannot help.
TEST_F(ServiceCommandTest, ARefusedRequestEndsAtOnceSayingAdministratorRightsAreNeeded) {
  loaded("Stopped");
  platform.service.methodAnswer = 2;

  form.StartMessenger();

  EXPECT_EQ(lastMessage().text, "Administrator rights are needed to start the Messenger service.");
  EXPECT_EQ(lastMessage().title, "Calvorin 1.0");
  EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
  EXPECT_EQ(waitBegan, 0.0) << "no wait";
  EXPECT_EQ(status(), "Your System is protected from Messenger Spam.");
  EXPECT_EQ(statusColor(), 0x0040C0u);
  EXPECT_FALSE(platform.holdsRunning(form));

  platform.service.state = "Running";
  platform.service.methodAnswer = 0;
  form.Timer1_Timer();
  platform.service.methodAnswer = 2;
  platform.ui.messages.clear();

  form.StopMessenger();

  EXPECT_EQ(lastMessage().text, "Administrator rights are needed to stop the Messenger service.");
  EXPECT_EQ(platform.ui.messages.size(), 1u);
  EXPECT_EQ(waitBegan, 0.0) << "no wait";
  EXPECT_EQ(status(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(statusColor(), 0x00C000u);
  EXPECT_TRUE(platform.holdsRunning(form)) << "a later tick sees no outside start";

  // Every other answer keeps the wait: a service that refuses a control it
  // does not accept still gets its fifteen seconds.
  platform.service.methodAnswer = 4;
  form.StopMessenger();
  EXPECT_EQ(lastMessage().text, "Unable To Stop Service. Try again");
  EXPECT_GE(secondsToReport(), 15.0);
}

TEST_F(ServiceCommandTest, AStartReadsTheStateOnlyInItsThreeCheckWindows) {
  loaded("Stopped");
  platform.service.stateAfterStart = "Start Pending";
  recordFetches();

  form.StartMessenger();

  EXPECT_TRUE(everyFetchIn({15, 30, 45}));
}

// The twin of the start's: a service that stops only after the last check
// (10 s in), well before the 15 s deadline, is a failure.
TEST_F(ServiceCommandTest, AStopReadsTheStateOnlyInItsTwoCheckWindows) {
  loaded("Running");
  platform.service.stateAfterStop = "Stop Pending";
  recordFetches();
  platform.clock.onRead = [&](double now) {
    if (waitBegan > 0 && now - waitBegan > 12)
      platform.service.state = "Stopped";
  };

  form.StopMessenger();

  EXPECT_TRUE(everyFetchIn({5, 10}));
  EXPECT_EQ(lastMessage().text, "Unable To Stop Service. Try again");
  EXPECT_GE(secondsToReport(), 15.0);
}

TEST_F(ServiceCommandTest, StopMarkersGrowOnePerSecondAndNeverStartOver) {
  loaded("Running");
  platform.service.stateAfterStop = "Running";

  form.StopMessenger();

  const auto runs = markerRuns("Stoping Service.");
  ASSERT_GE(runs.size(), 15u);
  for (std::size_t i = 0; i < runs.size(); ++i)
    EXPECT_EQ(runs[i], static_cast<int>(i));
}

TEST_F(ServiceCommandTest, StartMarkersStartOverAfterTheCounterReachesFortyAndTwenty) {
  loaded("Stopped");
  platform.service.stateAfterStart = "Start Pending";

  form.StartMessenger();

  const auto runs = markerRuns("Starting Service.");
  EXPECT_EQ(*std::max_element(runs.begin(), runs.end()), 20);
  EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), 3) << "one marker again after each reset";
  EXPECT_EQ(runs.size(), 60u);
}

TEST_F(ServiceCommandTest, APassLongerThanASecondStopsTheMarkersForTheRestOfTheWait) {
  loaded("Running");
  platform.service.stateAfterStop = "Running";
  bool jumped = false;
  platform.clock.onRead = [&](double reading) {
    if (!jumped && waitBegan > 0 && reading - waitBegan > 3.5) {
      jumped = true;
      platform.clock.time += 1.5;
    }
  };

  form.StopMessenger();

  const auto runs = markerRuns("Stoping Service.");
  EXPECT_LE(*std::max_element(runs.begin(), runs.end()), 4);
  EXPECT_EQ(lastMessage().text, "Unable To Stop Service. Try again");
}

}  // namespace
}  // namespace calvorin::app
