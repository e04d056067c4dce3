#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace calvorin::platform {

// Where NOTIFYICONDATAA's first layout keeps its fields. Its handles are as
// wide as a pointer and aligned like one, so the record is 88 bytes in a
// 32-bit program and 104 in a 64-bit one; the shell takes the layout of the
// calling program's own build.
struct NotifyIconLayout {
  std::size_t size;
  std::size_t handleWidth;
  std::size_t hWnd;
  std::size_t uID;
  std::size_t uFlags;
  std::size_t uCallbackMessage;
  std::size_t hIcon;
  std::size_t szTip;
};

inline constexpr std::size_t kNotifyIconTipWidth = 64;
inline constexpr NotifyIconLayout kNotifyIconLayout32{88, 4, 4, 8, 12, 16, 20, 24};
inline constexpr NotifyIconLayout kNotifyIconLayout64{104, 8, 8, 16, 20, 24, 32, 40};
// This build's.
inline constexpr const NotifyIconLayout& kNotifyIconLayout =
    sizeof(void*) == 8 ? kNotifyIconLayout64 : kNotifyIconLayout32;

// The record in one of those layouts, as raw little-endian bytes: as many as
// its layout's size.
using NotifyIconRecord = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;

// The shell's notification area: Shell_NotifyIconA.
class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  // Returns whether the shell accepted the request.
  virtual bool notifyIcon(std::uint32_t request, const NotifyIconRecord& record) = 0;
  // A warning balloon from the icon of this window and id, which must be
  // shown already.
  virtual bool showWarningBalloon(std::uint32_t window, std::uint32_t id, const std::string& title,
                                  const std::string& text) = 0;
};

}  // namespace calvorin::platform
