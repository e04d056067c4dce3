#include "service/service_procedures.h"

#include <cmath>
#include <cstdint>

#include "resources/texts.h"
#include "service/service_values.h"

namespace calvorin::service {

namespace {

int wholeSeconds(double seconds) {
  return static_cast<int>(std::floor(seconds));
}

}  // namespace

void ServiceProcedures::run(const ServiceCommand& command) {
  {
    const auto messenger = service_.fetchService();
    if (startModeReads(*messenger, kStartModeDisabled)) {
      // A box given no title of its own bears the product's name.
      display_.message(texts::kServiceDisabled, texts::kProductName,
                       platform::MessageIcon::Critical);
      display_.setPictureButtonsEnabled(false);
      if (command.disabledMarksStatus)
        display_.setStatus(texts::kStatusDisabled, texts::kColorStopped);
      return;
    }
  }
  display_.setPictureButtonsEnabled(true);
  if (service_.ServiceRunning == command.alreadyWhen) {
    display_.message(command.alreadyText, command.alreadyTitle, platform::MessageIcon::Information);
    return;
  }

  const bool startsRunning = command.request == ServiceOpStart;
  if (service_.ServiceControl(command.request) == kReturnAccessDenied) {
    // No wait could end otherwise, and trying again cannot help: the display
    // is left as after a command that failed.
    service_.ServiceRunning = !startsRunning;
    display_.message(command.deniedText, texts::kAppTitle, platform::MessageIcon::Critical);
    display_.setStatus(command.failureStatus, command.failureColor);
    return;
  }
  display_.setStatus(command.baseText, texts::kColorProgress);
  display_.repaintStatus();
  if (!waitForService(command))
    return;

  if (service_.ServiceRunning == startsRunning) {
    if (startsRunning) {
      display_.showStartSucceeded();
    } else {
      display_.showStopSucceeded();
    }
    display_.message(command.successText, texts::kAppTitle, platform::MessageIcon::Information);
  } else {
    display_.message(command.failureText, texts::kAppTitle, platform::MessageIcon::Information);
    display_.setStatus(command.failureStatus, command.failureColor);
  }
}

bool ServiceProcedures::waitForService(const ServiceCommand& command) {
  const double deadline = clock_.now() + command.waitSeconds;
  // 16-bit, as the marker arithmetic has always been.
  std::int16_t counter = static_cast<std::int16_t>(wholeSeconds(deadline - clock_.now()));
  std::string progress = command.baseText;
  const bool startsRunning = command.request == ServiceOpStart;

  while (deadline > clock_.now()) {
    if (display_.sessionOver())
      return false;
    // An equality, not a comparison: a pass longer than a second skips a
    // value, and no further marker comes in this wait.
    if (wholeSeconds(deadline - clock_.now()) + 1 == counter) {
      progress += '>';
      display_.setStatus(progress, texts::kColorProgress);
      display_.repaintStatus();
      --counter;
      if (command.resetsProgress && (counter == 40 || counter == 20))
        progress = command.baseText;
    }
    if (atStateCheck(command, deadline)) {
      const auto messenger = service_.fetchService();
      if (stateReads(*messenger, command.endState)) {
        service_.ServiceRunning = startsRunning;
        return true;
      }
      service_.ServiceRunning = !startsRunning;
    }
  }
  return true;
}

bool ServiceProcedures::atStateCheck(const ServiceCommand& command, double deadline) {
  // Each check reads the clock anew.
  bool due = false;
  for (int at : command.checksAt) {
    if (at != 0 && wholeSeconds(deadline - clock_.now()) == at)
      due = true;
  }
  return due;
}

}  // namespace calvorin::service
