#include "platform/win32/shell_notification_area.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace calvorin::win32 {

namespace {

// The record's first member must be where the shell reads cbSize, and the
// first layout's size must be what the record carries.
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24, "NOTIFYICONDATAA layout");
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "NOTIFYICONDATAA first layout");

}  // namespace

bool ShellNotificationArea::notifyIcon(std::uint32_t request,
                                       const platform::NotifyIconRecord& record) {
  // The bytes are the record itself; the shell reads cbSize from them.
  NOTIFYICONDATAA data{};
  static_assert(sizeof data >= sizeof record, "room for the first layout");
  std::memcpy(&data, record.data(), record.size());
  return Shell_NotifyIconA(request, &data) != FALSE;
}

bool ShellNotificationArea::showWarningBalloon(std::uint32_t window, std::uint32_t id,
                                               const std::string& title, const std::string& text) {
  // Balloons need the second layout; the icon's own record stays the first.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
  data.uID = id;
  data.uFlags = NIF_INFO;
  std::strncpy(data.szInfoTitle, title.c_str(), sizeof data.szInfoTitle - 1);
  std::strncpy(data.szInfo, text.c_str(), sizeof data.szInfo - 1);
  data.uTimeout = 15000;
  // Bare NIIF_WARNING: Wine's tray takes any higher value for an icon handle.
  data.dwInfoFlags = NIIF_WARNING;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

}  // namespace calvorin::win32
