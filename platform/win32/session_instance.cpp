#include "platform/win32/session_instance.h"

#include <windows.h>

#include "platform/win32/win32_form.h"
#include "resources/identity.h"

namespace calvorin::win32 {

namespace {

// The main window of another process of the program, or nullptr.
HWND otherMainWindow(const std::string& caption) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, Win32Form::kClassName, caption.c_str()))) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId())
      return window;
  }
  return nullptr;
}

}  // namespace

SessionInstance::SessionInstance()
    : mutex_(CreateMutexA(nullptr, FALSE, identity::kInstanceMutex)),
      second_(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {}

bool SessionInstance::handedOverToFirst(const std::string& mainWindowCaption) const {
  if (!second_)
    return false;
  const HWND first = otherMainWindow(mainWindowCaption);
  if (!first)
    return false;
  // This start came from the user, who may hand the foreground on.
  DWORD process = 0;
  GetWindowThreadProcessId(first, &process);
  AllowSetForegroundWindow(process);
  return PostMessageA(first, Win32Form::activationMessage(), 0, 0) != FALSE;
}

}  // namespace calvorin::win32
