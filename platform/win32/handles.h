#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

namespace calvorin::win32 {

// Owners for the kernel, registry, service manager, GDI and USER handles
// the program and its tools create, one kind each; the COM owners are in
// com_ptr.h and com_values.h.
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
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};

using UniqueHandle = std::unique_ptr<void, HandleCloser>;
using UniqueServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// A screen device context for measuring, released when it goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_)
      ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

inline int screenDpiX() {
  ScreenDc dc;
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : 96;
}

inline int screenDpiY() {
  ScreenDc dc;
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

inline COLORREF toColorref(std::uint32_t bgr) {
  return static_cast<COLORREF>(bgr & 0xFFFFFF);
}

}  // namespace calvorin::win32
