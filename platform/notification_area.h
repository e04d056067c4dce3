#pragma once

#include <array>
#include <cstdint>

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
};

}  // namespace calvorin::platform
