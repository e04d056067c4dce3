#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

// A stand-in for the help viewer's window, which records what WinHelp sends
// it in C:\help-calls.log as "<command>|<help file>" lines.
class HelpWindowStandIn {
 public:
  HelpWindowStandIn() {
    DeleteFileA(kLog);
    runner_ = std::make_unique<CalvorinProcess>(builtProgram("stub-program.exe"), "--help-window");
    waitUntil([] { return FindWindowA("MS_WINHELP", nullptr) != nullptr; }, 10000);
  }
  static std::string calls() { return fileText(kLog); }

 private:
  static constexpr char kLog[] = "C:\\help-calls.log";
  std::unique_ptr<CalvorinProcess> runner_;
};

// Log-off and shutdown as Wine does them: every top-level window is asked
// (WM_QUERYENDSESSION) and then told (WM_ENDSESSION); a process that does
// not answer within five seconds gets a "not responding" dialog.
class SessionEndTest : public CalvorinTest {
 protected:
  // Ends the session; the program must end within seconds, with its icon
  // gone, no box left behind and help told to quit.
  void endSessionAndExpectAQuietEnd(const char* options) {
    const std::string helpFile = shippedFile("Calvorin.HLP");
    const DWORD start = GetTickCount();
    EXPECT_EQ(run(std::string("wineboot.exe --end-session --shutdown ") + options, 60000), 0u)
        << "every program agreed";
    EXPECT_LT(GetTickCount() - start, 5000u) << "the end of the session waited for the program";
    EXPECT_EQ(calvorin().exitCode(10000), 0u);
    EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
    EXPECT_EQ(countTrayIcons(L"Service is Running"), 0);
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr) << "a box was left";
    EXPECT_EQ(HelpWindowStandIn::calls(), "2|" + helpFile + "\n");
  }
};

TEST_F(SessionEndTest, AnIdleProgramAgreesQuitsHelpAndEnds) {
  install();
  startedHidden(L"Service is Stopped");
  HelpWindowStandIn help;
  endSessionAndExpectAQuietEnd("");
}

// The start command waits a minute for a service that never comes up; the
// session's end does not wait for it.
TEST_F(SessionEndTest, AProgramInTheMiddleOfAStartWaitEndsAtOnce) {
  install("--start-pending 120");
  const HWND window = startedHidden(L"Service is Stopped");
  HelpWindowStandIn help;
  choose(window, "&Start");
  ASSERT_TRUE(waitUntil(
      [&] { return heldText(statusLine(window)).rfind("Starting Service.", 0) == 0; }, 10000));
  endSessionAndExpectAQuietEnd("--force");
}

class SecondStartTest : public CalvorinTest {};

TEST_F(SecondStartTest, ASecondStartBringsTheFirstWindowUpAndEnds) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");

  CalvorinProcess second;
  EXPECT_EQ(second.exitCode(15000), 0u);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == window; }, 5000));
  EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 1);
  EXPECT_EQ(calvorin().exitCode(0), static_cast<DWORD>(STILL_ACTIVE));
}

// The first program's main window has closed for good; its About window
// keeps the process alive. A second start then runs as the first.
TEST_F(SecondStartTest, AStartBesideAnEndingProgramRunsOnItsOwn) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");
  choose(window, "About");
  ASSERT_NE(aboutWindow(), nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(window); }, 5000));

  CalvorinProcess second;
  const HWND secondWindow = second.mainWindow();
  ASSERT_NE(secondWindow, nullptr);
  EXPECT_TRUE(waitUntil([&] { return ownIcon(secondWindow) == L"Service is Stopped"; }, 15000));
  EXPECT_EQ(second.exitCode(0), static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace
}  // namespace calvorin::testkit
