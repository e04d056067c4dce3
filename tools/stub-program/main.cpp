// Stands in for a program that Calvorin launches (the help viewer, the
// browser) or must never launch (C:\Program.exe): it only records that it
// ran, as "<its own path>|<its command line>", in C:\stub-calls.log.
//
// With --help-window it also stands in for the help viewer's window, which
// WinHelp talks to: it records each command it is sent ("<number>|<help
// file>") in C:\help-calls.log until it is closed or the session ends.
//
// With --calvorin-window it is another program with a window of Calvorin's
// class and main caption, which ignores close requests: one that the
// installers must neither ask to close nor end.
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

#include "platform/win32/handles.h"
#include "resources/identity.h"
#include "resources/texts.h"

namespace {

// What WinHelpA hands the viewer's window in WM_COPYDATA.
struct WinHelpData {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD filenameOffset;
  WORD dataOffset;
};

// Two stubs started together must not lose a line: the C runtime's append
// mode seeks to the end and writes as two steps, so the log is opened
// unshared instead, waiting out the other writer.
void record(const char* path, const char* first, const char* second) {
  calvorin::win32::UniqueFile log;
  for (int attempt = 1;; ++attempt) {
    log.reset(
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log)
      break;
    if (GetLastError() != ERROR_SHARING_VIOLATION || attempt == 200)
      return;
    Sleep(25);
  }
  const std::string line = std::string(first) + "|" + second + "\n";
  DWORD written = 0;
  SetFilePointer(log.get(), 0, nullptr, FILE_END);
  WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

LRESULT CALLBACK helpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (copy->cbData >= sizeof(WinHelpData)) {
      const auto* help = static_cast<const WinHelpData*>(copy->lpData);
      const char* file = help->filenameOffset != 0 && help->filenameOffset < copy->cbData
                             ? static_cast<const char*>(copy->lpData) + help->filenameOffset
                             : "";
      char command[8];
      std::snprintf(command, sizeof command, "%u", help->command);
      record("C:\\help-calls.log", command, file);
    }
    return TRUE;
  }
  if (message == WM_DESTROY)
    PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK lookalikeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window of that class and caption, and its message loop.
int runWindow(WNDPROC procedure, const char* className, const char* caption) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  if (!RegisterClassA(&windowClass) ||
      !CreateWindowA(className, caption, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                     windowClass.hInstance, nullptr)) {
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    DispatchMessageA(&message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  record("C:\\stub-calls.log", self, GetCommandLineA());
  if (argc == 2 && std::strcmp(argv[1], "--help-window") == 0)
    return runWindow(helpWindowProc, "MS_WINHELP", "Help stand-in");
  if (argc == 2 && std::strcmp(argv[1], "--calvorin-window") == 0)
    return runWindow(lookalikeWindowProc, calvorin::identity::kFormClass,
                     calvorin::texts::kAppTitle);
  return 0;
}
