#pragma once

namespace calvorin::platform {

// Receives a window's mouse-move reports: buttons and shift state as 16-bit
// flags, position in twips.
class MouseMoveListener {
 public:
  virtual ~MouseMoveListener() = default;
  virtual void OwnerMouseMove(short button, short shift, float x, float y) = 0;
};

}  // namespace calvorin::platform
