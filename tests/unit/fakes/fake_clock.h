#pragma once

#include <functional>

#include "platform/clock.h"

namespace calvorin::fakes {

// Time that moves only when read: every reading advances it by step, so a
// busy wait runs through its seconds quickly and repeatably.
class FakeClock final : public platform::Clock {
 public:
  double now() override {
    const double reading = time;
    time += step;
    if (onRead)
      onRead(reading);
    return reading;
  }

  double time = 1000.0;
  double step = 0.001;
  // Called with each reading: lets a test change the world as time passes.
  std::function<void(double)> onRead;
};

}  // namespace calvorin::fakes
