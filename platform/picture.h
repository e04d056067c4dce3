#pragma once

#include <cstdint>

namespace calvorin::platform {

// A picture held by a window; its handle is a 32-bit icon or bitmap handle.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual std::uint32_t handle() const = 0;
};

}  // namespace calvorin::platform
