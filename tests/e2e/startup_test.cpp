#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_process.h"
#include "fixture_service.h"
#include "menu_reader.h"
#include "message_boxes.h"
#include "tray_reader.h"

namespace calvorin {
namespace {

using testing::CalvorinProcess;
using testing::InstalledMessenger;
using testing::MenuReader;
using testing::waitUntil;
using testing::windowText;

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

HWND statusLine(HWND mainWindow) {
  return FindWindowExA(mainWindow, nullptr, "STATIC", nullptr);
}

HWND pictureButton(HWND mainWindow, int index) {
  HWND picture = nullptr;
  for (int i = 0; i <= index; ++i) {
    picture = FindWindowExA(mainWindow, picture, "CalvorinPicture", nullptr);
  }
  return picture;
}

void setRegistration(const char* data) {
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunKey, &key);
  if (data) {
    RegSetValueExA(key, "Calvorin", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(strlen(data) + 1));
  } else {
    RegDeleteValueA(key, "Calvorin");
  }
  RegCloseKey(key);
}

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { setRegistration(nullptr); }
  ~StartupTest() override { setRegistration(nullptr); }

  void startService() {
    fixture::startMessenger();
    ASSERT_TRUE(fixture::waitForState(SERVICE_RUNNING, 10000));
  }

  // The program's icon is up, and start-up is over: the menu probe is
  // answered only from the message loop, which runs once start-up has ended.
  HWND startedHidden(CalvorinProcess& calvorin, const std::wstring& tooltip) {
    const HWND window = calvorin.mainWindow();
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == tooltip; }, 15000));
    menus.read(window);
    EXPECT_FALSE(IsWindowVisible(window));
    return window;
  }

  static std::wstring ownIcon(HWND window) {
    for (const auto& icon : testing::readTrayIcons()) {
      if (icon.owner == window)
        return icon.tooltip;
    }
    return L"";
  }

  InstalledMessenger messenger;
  MenuReader menus;
};

TEST_F(StartupTest, ARunningServiceEndsHiddenWithTheRunningIconAndMenus) {
  startService();
  CalvorinProcess calvorin;
  const HWND window = startedHidden(calvorin, L"Service is Running");

  EXPECT_EQ(testing::countTrayIcons(window), 1);
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
  CalvorinProcess calvorin;
  const HWND window = startedHidden(calvorin, L"Service is Stopped");

  EXPECT_EQ(testing::countTrayIcons(window), 1);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is protected from Messenger Spam.");
  auto entries = menus.read(window);
  EXPECT_TRUE(entries["&Start"].enabled);
  EXPECT_FALSE(entries["&Stop"].enabled);
  EXPECT_FALSE(entries["&Enable Auto StartUp"].enabled);
  EXPECT_TRUE(entries["&Disable Auto StartUp"].enabled);
}

TEST_F(StartupTest, ADisabledServiceIsMarkedAndItsPictureButtonsAreOff) {
  fixture::setStartType(fixture::StartType::Disabled);
  CalvorinProcess calvorin;
  const HWND window = startedHidden(calvorin, L"Service is Stopped");

  EXPECT_EQ(windowText(statusLine(window)), "Service is disabled in System profile.");
  EXPECT_FALSE(IsWindowEnabled(pictureButton(window, 0)));
  EXPECT_FALSE(IsWindowEnabled(pictureButton(window, 1)));
  EXPECT_TRUE(menus.read(window)["&Start"].enabled);
}

TEST_F(StartupTest, RefreshShowsAChangeMadeOutsideTheProgram) {
  CalvorinProcess calvorin;
  const HWND window = startedHidden(calvorin, L"Service is Stopped");
  startService();
  setRegistration("");

  PostMessageA(window, WM_COMMAND, menus.read(window)["Refresh"].id, 0);

  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Running"; }, 10000));
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(testing::countTrayIcons(window), 1);
  auto entries = menus.read(window);
  EXPECT_FALSE(entries["&Start"].enabled);
  EXPECT_TRUE(entries["&Disable Auto StartUp"].enabled);
}

TEST(StartupWithoutService, EndsWithOneMessageAndNoIcon) {
  fixture::removeMessenger();
  CalvorinProcess calvorin;

  const auto box = testing::waitForMessageBox(calvorin.id(), 15000);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.title, "Calvorin 1.0");
  EXPECT_EQ(box.text, "The Messenger service was not found on this computer.");
  testing::answer(box);

  EXPECT_EQ(calvorin.exitCode(10000), 1u);
  EXPECT_EQ(testing::countTrayIcons(L"Service is Running"), 0);
  EXPECT_EQ(testing::countTrayIcons(L"Service is Stopped"), 0);
}

}  // namespace
}  // namespace calvorin
