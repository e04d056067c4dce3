#pragma once

#include <cstdlib>
#include <string>

#include <windows.h>

namespace calvorin::testkit {

// Windows path of a file in the folder an environment variable names: under
// Wine the Unix build folder is drive Z:.
inline std::string windowsPathIn(const char* folderVariable, const std::string& name) {
  const char* folder = std::getenv(folderVariable);
  std::string path = std::string("Z:") + (folder ? folder : ".") + "/" + name;
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

// A program built beside the tests.
inline std::string builtProgram(const std::string& name) {
  return windowsPathIn("CALVORIN_BIN_DIR", name);
}

// A file that ships: Calvorin.exe, its help file, its installers.
inline std::string shippedFile(const std::string& name) {
  return windowsPathIn("CALVORIN_SHIPPED_DIR", name);
}

// Polls until the condition holds; false if it does not within timeoutMs.
template <class Condition>
bool waitUntil(Condition condition, int timeoutMs) {
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    if (condition())
      return true;
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
      return false;
    Sleep(50);
  }
}

// The real Calvorin.exe, started for one test and ended after it.
class CalvorinProcess {
 public:
  // The built program, or the one at programPath (also a stand-in program
  // of the tests, given its arguments).
  explicit CalvorinProcess(const std::string& programPath = shippedFile("Calvorin.exe"),
                           const std::string& arguments = "") {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + programPath + "\"";
    if (!arguments.empty())
      commandLine += " " + arguments;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      process_ = {};
    }
  }
  CalvorinProcess(const CalvorinProcess&) = delete;
  CalvorinProcess& operator=(const CalvorinProcess&) = delete;
  ~CalvorinProcess() {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }

  // The main window once it exists: the program's top-level window of its
  // own class.
  HWND mainWindow(int timeoutMs = 15000) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
          found = findOwnWindow("CalvorinForm", "Calvorin 1.0");
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }

  // A top-level window of this process with the given class and caption.
  HWND findOwnWindow(const char* className, const char* caption) const {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, caption)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process_.dwProcessId)
        return window;
    }
    return nullptr;
  }

  // The exit code once the process has ended, or STILL_ACTIVE.
  DWORD exitCode(int timeoutMs) const {
    WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
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
