#include "platform/win32/shell_notification_area.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/platform_error.h"
#include "platform/win32/port_handles.h"

namespace calvorin::win32 {

namespace {

// The record the tray icon writes is the shell's own first layout.
constexpr const platform::NotifyIconLayout& kLayout = platform::kNotifyIconLayout;
static_assert(NOTIFYICONDATAA_V1_SIZE == kLayout.size, "NOTIFYICONDATAA first layout");
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == kLayout.hWnd &&
                  offsetof(NOTIFYICONDATAA, uID) == kLayout.uID &&
                  offsetof(NOTIFYICONDATAA, uFlags) == kLayout.uFlags &&
                  offsetof(NOTIFYICONDATAA, uCallbackMessage) == kLayout.uCallbackMessage &&
                  offsetof(NOTIFYICONDATAA, hIcon) == kLayout.hIcon &&
                  offsetof(NOTIFYICONDATAA, szTip) == kLayout.szTip &&
                  sizeof(HWND) == kLayout.handleWidth &&
                  kLayout.szTip + platform::kNotifyIconTipWidth == NOTIFYICONDATAA_V1_SIZE,
              "NOTIFYICONDATAA fields");

}  // namespace

bool ShellNotificationArea::notifyIcon(std::uint32_t request,
                                       const platform::NotifyIconRecord& record) {
  // The bytes are the record itself; the shell reads cbSize from them.
  NOTIFYICONDATAA data{};
  if (record.size() != kLayout.size)
    throw platform::PlatformError("The tray icon's record is not this program's layout.");
  std::memcpy(&data, record.data(), record.size());
  return Shell_NotifyIconA(request, &data) != FALSE;
}

bool ShellNotificationArea::showWarningBalloon(std::uint32_t window, std::uint32_t id,
                                               const std::string& title, const std::string& text) {
  // Balloons need the second layout; the icon's own record stays the first.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = fromPortHandle<HWND>(window);
  data.uID = id;
  data.uFlags = NIF_INFO;
  std::strncpy(data.szInfoTitle, title.c_str(), sizeof data.szInfoTitle - 1);
  std::strncpy(data.szInfo, text.c_str(), sizeof data.szInfo - 1);
  data.uTimeout = 15000;
  // Bare NIIF_WARNING: the flags beyond it (NIIF_NOSOUND) came with XP.
  data.dwInfoFlags = NIIF_WARNING;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

}  // namespace calvorin::win32
