#include <algorithm>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testing {
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

}  // namespace
}  // namespace calvorin::testing
