#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "processes.h"
#include "resources/identity.h"
#include "resources/texts.h"

namespace calvorin::testkit {

// The top-level windows of a process with this class and caption (nullptr:
// any). A pop-up menu's class is "#32768", a message box's "#32770".
inline std::vector<HWND> windowsOf(DWORD processId, const char* className,
                                   const char* caption = nullptr) {
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, caption)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId)
      found.push_back(window);
  }
  return found;
}

// How many of them are shown.
inline int shownWindowsOf(DWORD processId, const char* className) {
  const auto windows = windowsOf(processId, className);
  return static_cast<int>(
      std::count_if(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); }));
}

// The real Calvorin.exe, started for one test and ended after it.
class CalvorinProcess {
 public:
  // The built program, or the one at programPath (also a stand-in program
  // of the tests, given its arguments).
  explicit CalvorinProcess(const std::string& programPath = shippedFile("Calvorin.exe"),
                           const std::string& arguments = "")
      : process_("\"" + programPath + "\"" + (arguments.empty() ? "" : " " + arguments)) {}
  // The program as a command line starts it, as Windows starts the auto-start
  // entry's text.
  struct CommandLine {
    std::string text;
  };
  explicit CalvorinProcess(const CommandLine& commandLine) : process_(commandLine.text) {}

  bool started() const { return process_.started(); }
  DWORD id() const { return process_.id(); }

  // The main window once it exists: the program's top-level window of its
  // own class.
  HWND mainWindow(int timeoutMs = 15000) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
          found = findOwnWindow(identity::kFormClass, texts::kAppTitle);
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }

  // A top-level window of this process with the given class and caption.
  HWND findOwnWindow(const char* className, const char* caption) const {
    const auto found = windowsOf(id(), className, caption);
    return found.empty() ? nullptr : found.front();
  }

  // The exit code once the process has ended, or STILL_ACTIVE.
  DWORD exitCode(int timeoutMs) const { return process_.exitCode(timeoutMs); }

 private:
  Process process_;
};

// A window's text, read across processes.
inline std::string windowText(HWND window) {
  char text[256] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

// A window's text as the window manager holds it: GetWindowText does not ask
// the program, whose thread does not answer during a wait.
inline std::string heldText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace calvorin::testkit
