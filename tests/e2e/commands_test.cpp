#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

double secondsSince(DWORD start) {
  return (GetTickCount() - start) / 1000.0;
}

// When the wait began: the moment the status line first shows the progress
// text.
DWORD waitBegins(HWND window, const std::string& baseText) {
  waitUntil([&] { return heldText(statusLine(window)).rfind(baseText, 0) == 0; }, 20000);
  return GetTickCount();
}

class CommandsTest : public CalvorinTest {};

TEST_F(CommandsTest, StopAndStartFromTheMenuReportTheirOutcomeAtTheCheckWindows) {
  install();
  startService();
  const HWND window = startedHidden(L"Service is Running");

  choose(window, "&Stop");
  DWORD start = waitBegins(window, "Stoping Service.");
  expectMessage("Service stopped Successfully.", "Calvorin 1.0", 20000);
  // Reported at the first check (4 to 5 s in), not before it and not at the
  // second (9 to 10 s); the margin is for a loaded machine.
  const double stopSeconds = secondsSince(start);
  EXPECT_GE(stopSeconds, 3.8);
  EXPECT_LE(stopSeconds, 8.5);
  EXPECT_EQ(fixture::queryState(), static_cast<unsigned long>(SERVICE_STOPPED));
  EXPECT_EQ(ownIcon(window), L"Service is Stopped");
  EXPECT_EQ(windowText(statusLine(window)), "Your System is protected from Messenger Spam.");

  choose(window, "&Start");
  start = waitBegins(window, "Starting Service.");
  expectMessage("Service started Successfully.", "Calvorin 1.0", 30000);
  // Likewise the first check of a start is 14 to 15 s in, the second 29 to 30.
  const double startSeconds = secondsSince(start);
  EXPECT_GE(startSeconds, 13.8);
  EXPECT_LE(startSeconds, 25.0);
  EXPECT_EQ(fixture::queryState(), static_cast<unsigned long>(SERVICE_RUNNING));
  EXPECT_EQ(ownIcon(window), L"Service is Running");
  EXPECT_EQ(countTrayIcons(window), 1);
  EXPECT_FALSE(menus.read(window)["&Start"].enabled);
}

TEST_F(CommandsTest, TheAlreadyAnswersAndTheDisabledMessage) {
  install();
  startService();
  const HWND window = startedHidden(L"Service is Running");

  // Hidden, the window owns no box; shown, it owns the box and is active
  // again once the box has closed.
  choose(window, "&Start");
  auto box = waitForMessageBox(calvorin().id(), 10000);
  ASSERT_EQ(box.text, "Service is already running.");
  EXPECT_EQ(box.title, "Tervalis.");
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), nullptr);
  answer(box);
  doubleClickIcon(window);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  choose(window, "&Start");
  box = waitForMessageBox(calvorin().id(), 10000);
  ASSERT_EQ(box.text, "Service is already running.");
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), window);
  answer(box);
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == window; }, 5000));

  fixture::setStartType(fixture::StartType::Disabled);
  choose(window, "&Stop");
  expectMessage(
      "Either Messenger Service is desabled from Profile or dependency service is stopped or "
      "desabled in profile",
      "Calvorin");
  EXPECT_EQ(windowText(statusLine(window)), "Service is disabled in System profile.");
  EXPECT_FALSE(IsWindowEnabled(pictureButton(window, 0)));
  EXPECT_EQ(fixture::queryState(), static_cast<unsigned long>(SERVICE_RUNNING));
}

TEST_F(CommandsTest, AStopThatNeverCompletesFailsAfterFifteenSeconds) {
  install("--ignore-stop");
  startService();
  const HWND window = startedHidden(L"Service is Running");

  choose(window, "&Stop");
  const DWORD start = waitBegins(window, "Stoping Service.");
  EXPECT_TRUE(
      waitUntil([&] { return heldText(statusLine(window)) == "Stoping Service.>>>"; }, 5000))
      << "one marker a second";
  expectMessage("Unable To Stop Service. Try again", "Calvorin 1.0", 30000);

  EXPECT_GE(secondsSince(start), 14.8);
  EXPECT_EQ(windowText(statusLine(window)), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(ownIcon(window), L"Service is Running");
}

TEST_F(CommandsTest, AutoStartIsRegisteredAndWithdrawn) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  choose(window, "&Enable Auto StartUp");
  EXPECT_TRUE(waitUntil([] { return registration() != "(none)"; }, 5000));
  EXPECT_EQ(registration(), "\"" + shippedFile("Calvorin.exe") + "\"");
  auto entries = menus.read(window);
  EXPECT_FALSE(entries["&Enable Auto StartUp"].enabled);
  EXPECT_TRUE(entries["&Disable Auto StartUp"].enabled);
  EXPECT_EQ(ownIcon(window), L"Service is Stopped");

  choose(window, "&Disable Auto StartUp");
  EXPECT_TRUE(waitUntil([] { return registration() == "(none)"; }, 5000));
  EXPECT_TRUE(menus.read(window)["&Enable Auto StartUp"].enabled);
}

TEST_F(CommandsTest, ExitTwiceFromTheHiddenProgramEndsIt) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  choose(window, "&E&xit");
  menus.read(window);
  EXPECT_EQ(calvorin().exitCode(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(countTrayIcons(window), 1);

  choose(window, "&E&xit");
  EXPECT_EQ(calvorin().exitCode(10000), 0u);
  EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
}

TEST_F(CommandsTest, CloseHidesThenADoubleClickRestoresAndTheNextCloseEnds) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  doubleClickIcon(window);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(window); }, 5000));
  EXPECT_EQ(calvorin().exitCode(500), static_cast<DWORD>(STILL_ACTIVE));

  doubleClickIcon(window);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(calvorin().exitCode(10000), 0u);
}

TEST_F(CommandsTest, MinimisingHidesAndADoubleClickBringsTheWindowBackNormal) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");
  doubleClickIcon(window);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));

  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(window); }, 5000));

  sendTrayNotification(window, WM_MOUSEMOVE, 1, WM_RBUTTONDBLCLK);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  EXPECT_TRUE(waitUntil([&] { return !IsIconic(window); }, 5000));
}

TEST_F(CommandsTest, AboutOpensOnceAndItsLinkStartsTheBrowserEachTime) {
  stubOut({"C:\\Program Files\\Internet Explorer\\iexplore.exe", "C:\\Program.exe"});
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  choose(window, "About");
  choose(window, "About");
  const HWND about = aboutWindow();
  ASSERT_NE(about, nullptr);
  menus.read(window);
  EXPECT_EQ(FindWindowExA(nullptr, about, nullptr, "About - Calvorin 1.0"), nullptr)
      << "one About window";

  ASSERT_EQ(windowText(aboutLink(about)), "http://www.calvorin.example/");
  clickLink(about);
  clickLink(about);

  const std::string browser =
      "c:\\Program Files\\Internet Explorer\\iexplore.exe|\"c:\\Program Files\\Internet "
      "Explorer\\iexplore.exe\" http://www.calvorin.example/\n";
  EXPECT_TRUE(waitUntil([&] { return stubCalls() == browser + browser; }, 10000)) << stubCalls();
}

TEST_F(CommandsTest, MessengerHelpStartsTheViewerOnTheHelpFileAndNeverProgramExe) {
  stubOut({"C:\\windows\\winhlp32.exe", "C:\\Program.exe"});
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  choose(window, "Messenger Help");

  const std::string folder = shippedFile("");
  const std::string expected = "C:\\windows\\winhlp32.exe|\"C:\\windows\\winhlp32\" \"" +
                               folder.substr(0, folder.size() - 1) + "\\Calvorin.HLP\"\n";
  EXPECT_TRUE(waitUntil([&] { return stubCalls() == expected; }, 10000)) << stubCalls();
}

}  // namespace
}  // namespace calvorin::testkit
