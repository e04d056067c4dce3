#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

#include "platform/win32/gdi.h"

namespace calvorin::win32 {

// Owners for the kernel, memory, registry, service manager, GDI and USER
// handles the program, its tools and its tests create, one kind each; the
// COM owners are in com_ptr.h and com_values.h. Nothing is closed by hand.
struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { gdi::deleteObject(object); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct HookRemover {
  void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct LocalMemoryFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};
struct GlobalMemoryFreer {
  void operator()(void* memory) const { GlobalFree(memory); }
};
struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};
struct LibraryFreer {
  void operator()(HMODULE library) const { FreeLibrary(library); }
};

using UniqueHandle = std::unique_ptr<void, HandleCloser>;
using UniqueServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;
using UniqueLocalMemory = std::unique_ptr<void, LocalMemoryFreer>;
using UniqueGlobalMemory = std::unique_ptr<void, GlobalMemoryFreer>;
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;
using UniqueFind = std::unique_ptr<void, FindCloser>;

// What CreateProcess hands back: both handles, closed together.
struct StartedProcess {
  StartedProcess() = default;
  explicit StartedProcess(const PROCESS_INFORMATION& started)
      : process(started.hProcess), thread(started.hThread), id(started.dwProcessId) {}

  UniqueHandle process;
  UniqueHandle thread;
  DWORD id = 0;
};

// A window's device context (the screen's, for no window), released when
// it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_)
      ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The screen's pixels per inch along LOGPIXELSX or LOGPIXELSY; 96 when
// the screen does not say.
inline int screenDpi(int axis) {
  WindowDc dc;
  const int dpi = dc.get() ? gdi::deviceCaps(dc.get(), axis) : 0;
  return dpi > 0 ? dpi : 96;
}

inline COLORREF toColorref(std::uint32_t bgr) {
  return static_cast<COLORREF>(bgr & 0xFFFFFF);
}

}  // namespace calvorin::win32
