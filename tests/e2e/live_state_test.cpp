#include <algorithm>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

const std::wstring kWarning =
    L"The Messenger service was started. Your System is vulnerable to Messenger Spam.";

int warningsShown() {
  const auto balloons = readShownBalloons();
  return static_cast<int>(std::count(balloons.begin(), balloons.end(), kWarning));
}

class LiveStateTest : public CalvorinTest {};

TEST_F(LiveStateTest, OutsideStopsAndStartsShowWithinSixSecondsAndAStartWarnsOnce) {
  install();
  startService();
  const HWND window = startedHidden(L"Service is Running");

  fixture::stopMessenger();
  ASSERT_TRUE(fixture::waitForState(SERVICE_STOPPED, 10000));
  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Stopped"; }, 6000));
  EXPECT_EQ(windowText(statusLine(window)), "Your System is protected from Messenger Spam.");
  EXPECT_EQ(warningsShown(), 0);

  startService();
  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Running"; }, 6000));
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
  EXPECT_TRUE(waitUntil([] { return warningsShown() == 1; }, 6000));
  // A later tick finds nothing new and raises no second balloon.
  Sleep(6000);
  EXPECT_LE(warningsShown(), 1);
  EXPECT_EQ(countTrayIcons(window), 1);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(LiveStateTest, TheDisabledMarkGoesWhenTheStartModeIsChangedOutside) {
  install();
  fixture::setStartType(fixture::StartType::Disabled);
  const HWND window = startedHidden(L"Service is Stopped");
  ASSERT_EQ(windowText(statusLine(window)), "Service is disabled in System profile.");

  fixture::setStartType(fixture::StartType::Manual);
  EXPECT_TRUE(waitUntil(
      [&] {
        return windowText(statusLine(window)) == "Your System is protected from Messenger Spam.";
      },
      6000));
  EXPECT_TRUE(IsWindowEnabled(pictureButton(window, 0)));
  EXPECT_TRUE(IsWindowEnabled(pictureButton(window, 1)));
}

// The service takes 50 s to start: longer than the start command's last
// check (45 s in), shorter than its minute.
TEST_F(LiveStateTest, TheProgramsOwnStartArrivingLateIsShownWithoutAWarning) {
  install("--start-pending 50");
  const HWND window = startedHidden(L"Service is Stopped");

  choose(window, "&Start");
  expectMessage(" Unable To Start Service. Try Again", "Calvorin 1.0", 90000);
  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Running"; }, 6000));
  // The balloon would come about two seconds after a tick's request.
  Sleep(4000);
  EXPECT_EQ(warningsShown(), 0);
}

}  // namespace
}  // namespace calvorin::testkit
