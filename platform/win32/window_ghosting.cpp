#include "platform/win32/window_ghosting.h"

#include <windows.h>

namespace calvorin::win32 {

void disableWindowGhosting() {
  // Looked up, not imported: USER32 exports it from Windows XP on, and an
  // import that Windows 2000 lacks keeps the whole program from loading.
  using DisableGhosting = void(WINAPI*)();
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  const FARPROC found = user32 ? GetProcAddress(user32, "DisableProcessWindowsGhosting") : nullptr;
  if (found)
    reinterpret_cast<DisableGhosting>(reinterpret_cast<void (*)()>(found))();
}

}  // namespace calvorin::win32
