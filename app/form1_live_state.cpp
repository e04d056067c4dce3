#include "app/form1.h"

#include "autostart/autostart_commands.h"
#include "resources/texts.h"
#include "service/service_values.h"

namespace calvorin::app {

void Form1::Timer1_Timer() {
  // Modal loops hand timer messages out too; a command's box or a menu must
  // not have the display change under it.
  if (!t || commandRunning_ || platform_.ui.inModalLoop())
    return;
  t->retryRefused();
  try {
    // The WMI service may have restarted since: every call on the old
    // connection fails from then on, so a failed reading is followed by one
    // new connection per tick until a reading succeeds.
    if (reconnectOnNextTick_)
      service_.OpenConnection();
    const auto messenger = service_.fetchService();
    reconnectOnNextTick_ = false;
    const bool running = !service::stateReads(*messenger, service::kStateStopped);
    const bool disabled = service::startModeReads(*messenger, service::kStartModeDisabled);
    const bool registered = autostart::isRegistered(reg_);

    const bool ownStart = service_.takeOwnStartRequest();

    const bool startedOutside = running && !service_.ServiceRunning && !ownStart;
    const bool viewChanges = running != service_.ServiceRunning;
    const bool startModeChanges = disabled == form_->picture(Image3).enabled();
    if (viewChanges) {
      service_.ServiceRunning = running;
      if (running) {
        RemoveTrayIcon();
        ShowRunning();
      } else {
        ShowStopped();
      }
    } else if (startModeChanges && !disabled) {
      // The Disabled mark goes: the view's own line comes back, as Refresh
      // would show it.
      showViewStatus();
    }
    // A view rewrites the status line, so the Disabled mark goes on again.
    if (viewChanges || startModeChanges)
      showStartMode(disabled);
    if (registered != form_->menuItem(mnuAdis).enabled())
      showRegistration(registered);
    if (startedOutside) {
      platform_.notificationArea.showWarningBalloon(form_->handle(), 1, texts::kAppTitle,
                                                    texts::kStartedOutsideWarning);
    }
  } catch (const platform::PlatformError&) {
    // Nothing is shown: the next tick tries again, without a storm of boxes.
    reconnectOnNextTick_ = true;
  }
}

void Form1::timerElapsed(platform::TimerId timer) {
  switch (static_cast<Form1Timer>(timer)) {
    case Timer1:
      Timer1_Timer();
      break;
  }
}

void Form1::notificationAreaCreated() {
  // The icon is put back only if the program shows one.
  if (t && t->State() != 0)
    t->Add();
}

}  // namespace calvorin::app
