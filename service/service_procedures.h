#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/form.h"
#include "service/messenger_service.h"
#include "service/service_commands.h"

namespace calvorin::service {

// What the start and stop commands show, provided by the main window.
class CommandDisplay {
 public:
  virtual ~CommandDisplay() = default;
  virtual void setPictureButtonsEnabled(bool enabled) = 0;
  // Text first, then colour.
  virtual void setStatus(const std::string& text, platform::Color color) = 0;
  virtual void repaintStatus() = 0;
  virtual void showStartSucceeded() = 0;
  virtual void showStopSucceeded() = 0;
  virtual void message(const std::string& text, const std::string& title,
                       platform::MessageIcon icon) = 0;
  // Called on every pass of a wait, which the session's end may come into:
  // true once it has, and the command then ends at once, showing nothing.
  virtual bool sessionOver() = 0;
};

// The user's start and stop commands: check the start mode, send the request,
// wait for the service with a growing progress text, report the outcome.
class ServiceProcedures {
 public:
  ServiceProcedures(MessengerService& service, platform::Clock& clock, CommandDisplay& display)
      : service_(service), clock_(clock), display_(display) {}

  void run(const ServiceCommand& command);

 private:
  // The busy wait: it neither sleeps nor lets other events in, and shows
  // only the status line.
  // False when the session ended during the wait.
  bool waitForService(const ServiceCommand& command);
  bool atStateCheck(const ServiceCommand& command, double deadline);

  MessengerService& service_;
  platform::Clock& clock_;
  CommandDisplay& display_;
};

}  // namespace calvorin::service
