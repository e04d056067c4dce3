#pragma once

#include <cstdint>
#include <utility>

#include <windows.h>

namespace calvorin::win32 {

// Owners for the kernel, memory, registry, service manager, GDI and USER
// handles the program, its tools and its tests create, one kind each; the
// COM owners are in com_ptr.h and com_values.h. Nothing is closed by hand.
//
// An owner knows its kind's empty value: INVALID_HANDLE_VALUE for what
// CreateFile, FindFirstFile and CreateToolhelp32Snapshot return, null for
// every other kind. It closes
// only a handle it holds, with the kind's own function, and never throws.
enum class EmptyIs { Null, Invalid };

template <typename Handle, auto Close, EmptyIs kEmpty = EmptyIs::Null>
class UniqueResource {
 public:
  static Handle empty() noexcept {
    if constexpr (kEmpty == EmptyIs::Invalid) {
      return INVALID_HANDLE_VALUE;
    } else {
      return nullptr;
    }
  }

  UniqueResource() noexcept = default;
  explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != empty(); }

  // Gives the handle up without closing it.
  Handle release() noexcept { return std::exchange(handle_, empty()); }

  void reset(Handle handle = empty()) noexcept {
    const Handle previous = std::exchange(handle_, handle);
    if (previous != empty())
      Close(previous);
  }

 private:
  Handle handle_ = empty();
};

using UniqueHandle = UniqueResource<HANDLE, &CloseHandle>;
using UniqueFile = UniqueResource<HANDLE, &CloseHandle, EmptyIs::Invalid>;
// A toolhelp snapshot is a kernel handle that fails as CreateFile does.
using UniqueSnapshot = UniqueFile;
using UniqueFind = UniqueResource<HANDLE, &FindClose, EmptyIs::Invalid>;
using UniqueServiceHandle = UniqueResource<SC_HANDLE, &CloseServiceHandle>;
using UniqueIcon = UniqueResource<HICON, &DestroyIcon>;
using UniqueBrush = UniqueResource<HBRUSH, &DeleteObject>;
using UniqueFont = UniqueResource<HFONT, &DeleteObject>;
using UniqueBitmap = UniqueResource<HBITMAP, &DeleteObject>;
using UniqueMenu = UniqueResource<HMENU, &DestroyMenu>;
using UniqueKey = UniqueResource<HKEY, &RegCloseKey>;
using UniqueWindow = UniqueResource<HWND, &DestroyWindow>;
using UniqueHook = UniqueResource<HHOOK, &UnhookWindowsHookEx>;
using UniqueLocalMemory = UniqueResource<HLOCAL, &LocalFree>;
using UniqueGlobalMemory = UniqueResource<HGLOBAL, &GlobalFree>;
using UniqueLibrary = UniqueResource<HMODULE, &FreeLibrary>;

// What CreateProcess hands back: both handles, closed together.
struct StartedProcess {
  StartedProcess() = default;
  explicit StartedProcess(const PROCESS_INFORMATION& started)
      : process(started.hProcess), thread(started.hThread), id(started.dwProcessId) {}

  UniqueHandle process;
  UniqueHandle thread;
  DWORD id = 0;
};

// The device context that BeginPaint hands a window's WM_PAINT, ended with
// EndPaint when it goes.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
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
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), axis) : 0;
  return dpi > 0 ? dpi : 96;
}

inline COLORREF toColorref(std::uint32_t bgr) {
  return static_cast<COLORREF>(bgr & 0xFFFFFF);
}

}  // namespace calvorin::win32
