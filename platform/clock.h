#pragma once

namespace calvorin::platform {

// Seconds, with a fractional part, on a clock that never goes back or wraps
// (unlike the time of day, which wraps at midnight).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double now() = 0;
};

}  // namespace calvorin::platform
