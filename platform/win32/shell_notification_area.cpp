#include "platform/win32/shell_notification_area.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
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

}  // namespace calvorin::win32
