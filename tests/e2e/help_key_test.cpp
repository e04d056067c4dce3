#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

// The topic Wine's help viewer shows: the first line of its text control.
std::string shownTopic() {
  const HWND viewer = FindWindowA("MS_WINHELP", nullptr);
  if (!viewer)
    return "";
  const std::string text = windowText(GetDlgItem(viewer, 0x701));
  return text.substr(0, text.find('\r'));
}

class HelpKeyTest : public CalvorinTest {};

TEST_F(HelpKeyTest, F1OpensTheMainWindowsTopicAndClosingTheWindowClosesHelp) {
  install();
  const HWND window = startedHidden(L"Service is Stopped");
  doubleClickIcon(window);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  SetForegroundWindow(window);
  ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == window; }, 5000));

  keybd_event(VK_F1, 0, 0, 0);
  keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(waitUntil([] { return shownTopic() == "The Calvorin window"; }, 10000))
      << shownTopic();

  // The first close only hides the window, and it closes help all the same.
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(waitUntil([] { return FindWindowA("MS_WINHELP", nullptr) == nullptr; }, 10000));
  EXPECT_EQ(calvorin().exitCode(0), static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace
}  // namespace calvorin::testkit
