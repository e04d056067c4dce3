#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/form1_harness.h"

namespace calvorin::app {
namespace {

using fakes::FakeNotificationArea;
using platform::PlatformError;

using autostart::kRunKey;

class StartupTest : public fakes::Form1Harness {
 protected:
  std::string shownTip() {
    EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
    return platform.notificationArea.lastTip();
  }
  std::vector<std::uint32_t> requestCodes() {
    std::vector<std::uint32_t> codes;
    for (const auto& request : platform.notificationArea.requests)
      codes.push_back(request.code);
    return codes;
  }
  bool buttonsEnabled() {
    EXPECT_EQ(window().picture(Image3).enabled(), window().picture(Image4).enabled());
    return window().picture(Image3).enabled();
  }
};

TEST_F(StartupTest, AStoppedServiceEndsHiddenInTheTrayWithTheStoppedView) {
  platform.service.state = "Stopped";

  ASSERT_TRUE(form.load());

  EXPECT_EQ(requestCodes(), (std::vector<std::uint32_t>{platform::kNimAdd, platform::kNimModify}));
  EXPECT_EQ(shownTip(), "Service is Stopped");
  EXPECT_TRUE(window().menuItem(mnustart).enabled());
  EXPECT_FALSE(window().menuItem(mnuStop).enabled());
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_EQ(window().label(Label1).text(), "Your System is protected from Messenger Spam.");
  EXPECT_EQ(window().history, (std::vector<std::string>{"show", "hide"}));
  EXPECT_EQ(platform.ui.helpFile(), "C:\\Program Files\\Calvorin\\Calvorin.HLP");
}

TEST_F(StartupTest, EveryStateButExactlyStoppedTakesTheRunningView) {
  for (const std::optional<std::string>& state :
       {std::optional<std::string>("Running"), std::optional<std::string>("Paused"),
        std::optional<std::string>("Start Pending"), std::optional<std::string>("stopped"),
        std::optional<std::string>(""), std::optional<std::string>()}) {
    fakes::FakePlatform fresh;
    fresh.service.state = state;
    Form1 other(fresh.ports());

    ASSERT_TRUE(other.load());

    SCOPED_TRACE(state.value_or("(null)"));
    ASSERT_EQ(fresh.notificationArea.requests.size(), 1u);
    EXPECT_EQ(fresh.notificationArea.requests[0].code, platform::kNimAdd);
    EXPECT_FALSE(fresh.window().menuItem(mnustart).enabled());
    EXPECT_TRUE(fresh.window().menuItem(mnuStop).enabled());
    EXPECT_EQ(fresh.window().label(Label1).text(), "Your System is vulnerable to Messenger Spam.");
    EXPECT_TRUE(fresh.holdsRunning(other));
  }
}

TEST_F(StartupTest, ADisabledServiceLosesItsPictureButtonsButKeepsItsMenuEntries) {
  platform.service.state = "Running";
  platform.service.startMode = "Disabled";

  ASSERT_TRUE(form.load());

  EXPECT_FALSE(buttonsEnabled());
  EXPECT_TRUE(window().menuItem(mnuStop).enabled());
  EXPECT_FALSE(window().menuItem(mnustart).enabled());
  EXPECT_EQ(shownTip(), "Service is Running");
  EXPECT_EQ(window().label(Label1).text(), "Service is disabled in System profile.");
  EXPECT_EQ(window().label(Label1).textColor(), 0x0040C0u);
}

TEST_F(StartupTest, ADisabledStoppedServiceShowsTheStoppedViewUnderTheDisabledText) {
  platform.service.state = "Stopped";
  platform.service.startMode = "Disabled";

  ASSERT_TRUE(form.load());

  EXPECT_FALSE(buttonsEnabled());
  EXPECT_TRUE(window().menuItem(mnustart).enabled());
  EXPECT_EQ(shownTip(), "Service is Stopped");
  EXPECT_EQ(window().label(Label1).text(), "Service is disabled in System profile.");
}

TEST_F(StartupTest, OtherStartModesKeepTheButtonsAndTheViewsText) {
  for (const char* mode : {"Manual", "Auto", "disabled"}) {
    fakes::FakePlatform fresh;
    fresh.service.startMode = mode;
    Form1 other(fresh.ports());
    ASSERT_TRUE(other.load());
    EXPECT_TRUE(fresh.window().picture(Image3).enabled()) << mode;
    EXPECT_TRUE(fresh.window().picture(Image4).enabled()) << mode;
    EXPECT_EQ(fresh.window().label(Label1).text(), "Your System is protected from Messenger Spam.");
  }
}

TEST_F(StartupTest, TheAutoStartEntryOffersTheChangeThatFitsTheRegistry) {
  ASSERT_TRUE(form.load());
  EXPECT_TRUE(window().menuItem(mnuAst).enabled());
  EXPECT_FALSE(window().menuItem(mnuAdis).enabled());

  for (const char* data : {"C:\\Tools\\Calvorin.exe", ""}) {
    putText(kRunKey, "Calvorin", data);
    form.mnuRefresh_Click();
    EXPECT_FALSE(window().menuItem(mnuAst).enabled()) << "data: " << data;
    EXPECT_TRUE(window().menuItem(mnuAdis).enabled()) << "data: " << data;
  }

  for (const char* data : {"Not Found", "NOT FOUND", "not found"}) {
    putText(kRunKey, "Calvorin", data);
    form.mnuRefresh_Click();
    EXPECT_TRUE(window().menuItem(mnuAst).enabled()) << "data: " << data;
    EXPECT_FALSE(window().menuItem(mnuAdis).enabled()) << "data: " << data;
  }
}

TEST_F(StartupTest, RefreshReadsAnewWithOneIconAndLeavesTheWindowVisible) {
  platform.service.state = "Stopped";
  ASSERT_TRUE(form.load());

  platform.service.state = "Running";
  form.mnuRefresh_Click();
  form.mnuRefresh_Click();
  platform.service.state = "Stopped";
  form.mnuRefresh_Click();

  EXPECT_EQ(platform.service.locatorsCreated, 4);
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
  EXPECT_EQ(shownTip(), "Service is Stopped");
  EXPECT_TRUE(window().visible());
  EXPECT_EQ(platform.helpEngine.calls.size(), 0u);
}

TEST_F(StartupTest, AMissingServiceEndsStartUpWithOneMessageAndNoIcon) {
  platform.service.serviceExists = false;

  EXPECT_FALSE(form.load());

  ASSERT_EQ(platform.ui.messages.size(), 1u);
  EXPECT_EQ(platform.ui.messages[0].text, "The Messenger service was not found on this computer.");
  EXPECT_EQ(platform.ui.messages[0].title, "Calvorin 1.0");
  EXPECT_EQ(platform.ui.messages[0].icon, platform::MessageIcon::Critical);
  EXPECT_TRUE(platform.notificationArea.shown.empty());
  EXPECT_FALSE(window().visible());
}

TEST_F(StartupTest, AStartUpThatFailsAfterTheIconIsUpTakesItDownAgain) {
  platform.service.unreadable = {"StartMode"};
  platform.ui.whileMessageIsShown = [this] {
    EXPECT_EQ(platform.notificationArea.shown.size(), 1u) << "the icon goes after the message";
  };

  EXPECT_FALSE(form.load());
  EXPECT_TRUE(platform.notificationArea.shown.empty());
}

TEST_F(StartupTest, ARefreshThatFailsHalfWayIsMendedByTheNext) {
  ASSERT_TRUE(form.load());
  platform.service.unreadable = {"State"};
  EXPECT_THROW(form.mnuRefresh_Click(), PlatformError);
  EXPECT_TRUE(platform.notificationArea.shown.empty());

  platform.service.unreadable.clear();
  form.mnuRefresh_Click();
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
}

TEST_F(StartupTest, ARefreshWithoutTheServiceKeepsTheShownIcon) {
  ASSERT_TRUE(form.load());
  platform.service.serviceExists = false;

  EXPECT_THROW(form.mnuRefresh_Click(), PlatformError);
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
}

}  // namespace
}  // namespace calvorin::app
