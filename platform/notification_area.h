#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace calvorin::platform {

// NOTIFYICONDATA in its first, 88-byte ANSI layout, as raw little-endian bytes.
using NotifyIconRecord = std::array<std::uint8_t, 88>;

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
