#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_process.h"
#include "fixture_service.h"
#include "tray_reader.h"

namespace calvorin {
namespace {

using testing::CalvorinProcess;
using testing::InstalledMessenger;
using testing::waitForTrayTooltip;
using testing::windowText;

HWND statusLine(HWND mainWindow) {
  return FindWindowExA(mainWindow, nullptr, "STATIC", nullptr);
}

TEST(Startup, ARunningServiceShowsTheRunningIconAndStatus) {
  InstalledMessenger messenger;
  fixture::startMessenger();
  ASSERT_TRUE(fixture::waitForState(SERVICE_RUNNING, 10000));

  CalvorinProcess calvorin;
  ASSERT_TRUE(calvorin.started());
  const HWND window = calvorin.mainWindow();
  ASSERT_NE(window, nullptr);

  EXPECT_TRUE(waitForTrayTooltip(L"Service is Running", 10000));
  EXPECT_EQ(testing::countTrayIcons(window), 1);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
}

TEST(Startup, AStoppedServiceShowsTheStoppedIconAndStatus) {
  InstalledMessenger messenger;

  CalvorinProcess calvorin;
  const HWND window = calvorin.mainWindow();
  ASSERT_NE(window, nullptr);

  EXPECT_TRUE(waitForTrayTooltip(L"Service is Stopped", 10000));
  EXPECT_EQ(testing::countTrayIcons(window), 1);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is protected from Messenger Spam.");
}

}  // namespace
}  // namespace calvorin
