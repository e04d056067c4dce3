#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

class StartupTest : public CalvorinTest {
 protected:
  StartupTest() { install(); }
};

TEST_F(StartupTest, ARunningServiceEndsHiddenWithTheRunningIconAndMenus) {
  startService();
  const HWND window = startedHidden(L"Service is Running");

  EXPECT_EQ(countTrayIcons(window), 1);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
  auto entries = menus.read(window);
  EXPECT_FALSE(entries["&Start"].enabled);
  EXPECT_TRUE(entries["&Stop"].enabled);
  EXPECT_TRUE(entries["&Enable Auto StartUp"].enabled);
  EXPECT_FALSE(entries["&Disable Auto StartUp"].enabled);
  EXPECT_TRUE(IsWindowEnabled(pictureButton(window, 0)));
  EXPECT_TRUE(IsWindowEnabled(pictureButton(window, 1)));
}

TEST_F(StartupTest, AStoppedRegisteredServiceOffersStartAndDisableAutoStartUp) {
  setRegistration("C:\\Somewhere\\Calvorin.exe");
  const HWND window = startedHidden(L"Service is Stopped");

  EXPECT_EQ(countTrayIcons(window), 1);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is protected from Messenger Spam.");
  auto entries = menus.read(window);
  EXPECT_TRUE(entries["&Start"].enabled);
  EXPECT_FALSE(entries["&Stop"].enabled);
  EXPECT_FALSE(entries["&Enable Auto StartUp"].enabled);
  EXPECT_TRUE(entries["&Disable Auto StartUp"].enabled);
}

TEST_F(StartupTest, ADisabledServiceIsMarkedAndItsPictureButtonsAreOff) {
  fixture::setStartType(fixture::StartType::Disabled);
  const HWND window = startedHidden(L"Service is Stopped");

  EXPECT_EQ(windowText(statusLine(window)), "Service is disabled in System profile.");
  EXPECT_FALSE(IsWindowEnabled(pictureButton(window, 0)));
  EXPECT_FALSE(IsWindowEnabled(pictureButton(window, 1)));
  EXPECT_TRUE(menus.read(window)["&Start"].enabled);
}

TEST_F(StartupTest, RefreshShowsAChangeMadeOutsideTheProgram) {
  const HWND window = startedHidden(L"Service is Stopped");
  startService();
  setRegistration("");

  choose(window, "Refresh");

  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Running"; }, 10000));
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(countTrayIcons(window), 1);
  auto entries = menus.read(window);
  EXPECT_FALSE(entries["&Start"].enabled);
  EXPECT_TRUE(entries["&Disable Auto StartUp"].enabled);
}

TEST(StartupWithoutService, EndsWithOneMessageAndNoIcon) {
  fixture::removeMessenger();
  CalvorinProcess calvorin;

  const auto box = waitForMessageBox(calvorin.id(), 15000);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.title, "Calvorin 1.0");
  EXPECT_EQ(box.text, "The Messenger service was not found on this computer.");
  answer(box);

  EXPECT_EQ(calvorin.exitCode(10000), 1u);
  EXPECT_EQ(countTrayIcons(L"Service is Running"), 0);
  EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
}

}  // namespace
}  // namespace calvorin::testkit
