#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

constexpr char kMissing[] = "The Messenger service was not found on this computer.";

class FaultsTest : public CalvorinTest {};

TEST_F(FaultsTest, AServiceDeletedUnderTheProgramGetsOneClearMessagePerCommand) {
  install();
  startService();
  const HWND window = startedHidden(L"Service is Running");
  fixture::removeMessenger();

  // Live-state ticks fail quietly.
  Sleep(11000);
  EXPECT_EQ(shownWindowsOf(calvorin().id(), "#32770"), 0);

  for (const char* command : {"Refresh", "&Start", "&Stop"}) {
    choose(window, command);
    expectMessage(kMissing, "Calvorin 1.0");
    menus.read(window);
    EXPECT_EQ(shownWindowsOf(calvorin().id(), "#32770"), 0) << "one message for " << command;
  }

  install();
  choose(window, "Refresh");
  EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == L"Service is Stopped"; }, 10000));
  EXPECT_EQ(countTrayIcons(window), 1);
}

TEST_F(FaultsTest, ATrayStormLeavesOneMenuAtMostAndTheWindowHidden) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");
  std::srand(7);
  int mostMenus = 0;
  for (int i = 0; i < 5000; ++i) {
    // Any code but the double-clicks, which show the window by design.
    UINT code = WM_MOUSEFIRST + static_cast<UINT>(std::rand() % 16);
    if (code == WM_LBUTTONDBLCLK || code == WM_RBUTTONDBLCLK)
      code = WM_RBUTTONUP;
    sendTrayNotification(window, WM_MOUSEMOVE, 1, code);
    if (i % 250 == 0)
      mostMenus = std::max(mostMenus, shownWindowsOf(calvorin().id(), "#32768"));
    // The menu is left open for the first half, then closed whenever it opens.
    if (i >= 2500 && i % 100 == 0)
      PostMessageA(window, WM_CANCELMODE, 0, 0);
  }
  PostMessageA(window, WM_CANCELMODE, 0, 0);
  menus.read(window);

  EXPECT_LE(mostMenus, 1);
  EXPECT_EQ(calvorin().exitCode(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(countTrayIcons(window), 1);
}

TEST_F(FaultsTest, WithoutWmiTheProgramSaysSoAndEndsWithoutAnIcon) {
  install();
  // No WMI provider at all, for processes started from now on: Wine reads its
  // DLL overrides from the registry at each start.
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", &created),
            ERROR_SUCCESS);
  const win32::UniqueKey overrides(created);
  RegSetValueExA(overrides.get(), "wbemprox", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  CalvorinProcess calvorin;
  const auto box = waitForMessageBox(calvorin.id(), 15000);
  RegDeleteValueA(overrides.get(), "wbemprox");

  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.title, "Calvorin 1.0");
  EXPECT_NE(box.text.find("WMI"), std::string::npos) << box.text;
  answer(box);
  EXPECT_EQ(calvorin.exitCode(10000), 1u);
  EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
}

// A folder whose name holds a blank and a character of the ANSI code page
// beyond ASCII ("Calvörin" in code page 1252), under "C:\Program Files", and
// programs planted where an unquoted path or a fixed browser path would
// find them: C:\Program.exe, and a browser's usual place while Windows has
// its browser elsewhere.
TEST_F(FaultsTest, AFolderWithBlanksAndAnAccentIsNamedRightAndNoPlantedProgramRuns) {
  const std::string folder = "C:\\Program Files\\Calv\xF6rin Tools";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(
      CopyFileA(shippedFile("Calvorin.exe").c_str(), (folder + "\\Calvorin.exe").c_str(), FALSE));
  ASSERT_TRUE(CreateDirectoryA("C:\\Browser", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  stubOut({"C:\\windows\\winhlp32.exe", "C:\\Program.exe",
           "C:\\Program Files\\Internet Explorer\\iexplore.exe", "C:\\Browser\\iexplore.exe"});
  ASSERT_EQ(RegSetValueA(HKEY_LOCAL_MACHINE,
                         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE",
                         REG_SZ, "C:\\Browser\\iexplore.exe", 0),
            ERROR_SUCCESS);
  install();
  const HWND window = startedHidden(L"Service is Stopped", folder + "\\Calvorin.exe");

  choose(window, "&Enable Auto StartUp");
  const std::string command = "\"" + folder + "\\Calvorin.exe\"";
  EXPECT_TRUE(waitUntil([&] { return registration() == command; }, 5000)) << registration();

  choose(window, "Messenger Help");
  const std::string help =
      "C:\\windows\\winhlp32.exe|\"C:\\windows\\winhlp32\" \"" + folder + "\\Calvorin.HLP\"\n";
  EXPECT_TRUE(waitUntil([&] { return stubCalls() == help; }, 10000)) << stubCalls();

  choose(window, "About");
  const HWND about = aboutWindow();
  ASSERT_NE(about, nullptr);
  clickLink(about);
  const std::string browser =
      "C:\\Browser\\iexplore.exe|\"C:\\Browser\\iexplore.exe\" http://www.calvorin.example/\n";
  EXPECT_TRUE(waitUntil([&] { return stubCalls() == help + browser; }, 10000)) << stubCalls();

  // Windows starts the auto-start entry as a command line: it starts this
  // copy, which brings the running one's window up.
  const Process logon(registration());
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 10000));
  EXPECT_EQ(logon.exitCode(15000), 0u);
  EXPECT_EQ(stubCalls(), help + browser);
}

}  // namespace
}  // namespace calvorin::testkit
