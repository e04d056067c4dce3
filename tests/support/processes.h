#pragma once

#include <cstdlib>
#include <string>

#include <windows.h>

#include "platform/win32/handles.h"

// Paths and processes for the Windows-side tests and the benchmark, which run
// under Wine.
namespace calvorin::testkit {

// A path as Windows programs name it: under Wine a Unix path is on drive Z:.
inline std::string windowsPath(std::string path) {
  if (!path.empty() && path[0] == '/')
    path = "Z:" + path;
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

// A file in the folder an environment variable names.
inline std::string windowsPathIn(const char* folderVariable, const std::string& name) {
  const char* folder = std::getenv(folderVariable);
  return windowsPath(std::string(folder ? folder : ".") + "/" + name);
}

// A program built beside the tests.
inline std::string builtProgram(const std::string& name) {
  return windowsPathIn("CALVORIN_BIN_DIR", name);
}

// A file that ships: Calvorin.exe, its help file, its installers.
inline std::string shippedFile(const std::string& name) {
  return windowsPathIn("CALVORIN_SHIPPED_DIR", name);
}

// Dispatches every message waiting for the calling thread.
inline void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Whether waitUntil dispatches the calling thread's messages between polls,
// for conditions that a window of this thread brings about.
enum class Pump { No, Messages };

// Polls until the condition holds; false if it does not within timeoutMs.
// Elapsed time is measured as a difference, which GetTickCount's wrap
// leaves right.
template <class Condition>
bool waitUntil(Condition condition, int timeoutMs, Pump pump = Pump::No) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pump == Pump::Messages)
      pumpMessages();
    if (condition())
      return true;
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs))
      return false;
    Sleep(pump == Pump::Messages ? 20 : 50);
  }
}

// Starts a command line; an empty owner if it cannot start. The program
// runs on when the owner goes.
inline win32::StartedProcess start(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return {};
  }
  return win32::StartedProcess(started);
}

// A program started by a test, ended by force if it still runs when the
// owner goes, so that no test leaves one behind.
class Process {
 public:
  explicit Process(const std::string& commandLine) : started_(start(commandLine)) {}
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() {
    if (started_.process && WaitForSingleObject(handle(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(handle(), 99);
      WaitForSingleObject(handle(), 5000);
    }
  }

  bool started() const { return static_cast<bool>(started_.process); }
  DWORD id() const { return started_.id; }
  HANDLE handle() const { return started_.process.get(); }

  // The exit code once the process has ended, or STILL_ACTIVE.
  DWORD exitCode(int timeoutMs) const {
    WaitForSingleObject(handle(), static_cast<DWORD>(timeoutMs));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(handle(), &code);
    return code;
  }

 private:
  win32::StartedProcess started_;
};

// Runs a command line to its end and returns its exit code, or STILL_ACTIVE
// (and ends it) if it has not ended within timeoutMs; ~0 if it cannot start.
inline DWORD run(const std::string& commandLine, int timeoutMs) {
  const Process process(commandLine);
  if (!process.started())
    return ~0u;
  return process.exitCode(timeoutMs);
}

}  // namespace calvorin::testkit
