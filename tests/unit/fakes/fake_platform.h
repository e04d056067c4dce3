#pragma once

#include "app/form1.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_process.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_tray.h"
#include "fakes/fake_ui.h"
#include "fakes/fake_wmi.h"

namespace calvorin::fakes {

// Every platform service as a fake, and the main window on top of them.
struct FakePlatform {
  app::Platform ports() {
    return {wmi, notificationArea, ui, registry, helpEngine, environment, launcher, clock};
  }
  FakeForm& window() { return *ui.forms.at(0); }

  // Whether the program holds the service to be running (ServiceRunning), as
  // the user finds out: a stop then has work to do instead of saying the
  // service is already stopped. It may send a stop: the last look of a test.
  bool holdsRunning(app::Form1& form) {
    const auto boxes = ui.messages.size();
    service.startMode = "Manual";
    form.StopMessenger();
    return ui.messages.size() == boxes || ui.messages[boxes].text != "Service is already stopped.";
  }

  FakeServiceManager service;
  FakeWmi wmi{service};
  FakeNotificationArea notificationArea;
  FakeUi ui;
  FakeRegistry registry;
  FakeHelpEngine helpEngine;
  FakeEnvironment environment;
  FakeLauncher launcher;
  FakeClock clock;
};

}  // namespace calvorin::fakes
