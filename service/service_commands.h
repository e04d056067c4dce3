#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/window.h"

namespace calvorin::service {

// Everything in which the start and the stop command differ.
struct ServiceCommand {
  std::uint8_t request;
  // The command has nothing to do while ServiceRunning equals this.
  bool alreadyWhen;
  const char* alreadyText;
  const char* alreadyTitle;
  // The stop command also marks a disabled service on the status line.
  bool disabledMarksStatus;
  const char* baseText;
  int waitSeconds;
  // Whole seconds remaining at which the state is read; 0 ends the list.
  std::array<int, 3> checksAt;
  std::string_view endState;
  // The progress text starts over at these counter values (start only).
  bool resetsProgress;
  const char* successText;
  const char* failureText;
  // Shown instead of waiting when the user may not control the service.
  const char* deniedText;
  const char* failureStatus;
  platform::Color failureColor;
};

extern const ServiceCommand kStartCommand;
extern const ServiceCommand kStopCommand;

}  // namespace calvorin::service
