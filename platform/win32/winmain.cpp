// Calvorin.exe: wires the real platform to the main window and runs it.
#include <windows.h>

#include "app/form1.h"
#include "platform/win32/advapi_registry.h"
#include "platform/win32/com_wmi.h"
#include "platform/win32/session_instance.h"
#include "platform/win32/shell_notification_area.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/window_ghosting.h"
#include "resources/texts.h"

namespace {

int runCalvorin() {
  // Declared first so that COM outlives every WMI object the window holds.
  calvorin::win32::ComWmi wmi;
  calvorin::win32::ShellNotificationArea notificationArea;
  calvorin::win32::Win32HelpEngine helpEngine;
  calvorin::win32::Win32Ui ui(helpEngine);
  calvorin::win32::AdvapiRegistry registry;
  calvorin::win32::Win32Environment environment;
  calvorin::win32::Win32Launcher launcher;
  calvorin::win32::PerformanceClock clock;
  calvorin::app::Form1 form(
      {wmi, notificationArea, ui, registry, helpEngine, environment, launcher, clock});
  // Asked once the window exists, so that a second start always finds the
  // first one's window; neither WMI nor the tray has been touched yet.
  const calvorin::win32::SessionInstance instance;
  if (instance.handedOverToFirst(calvorin::texts::kAppTitle))
    return 0;
  if (!form.load())
    return 1;
  return ui.run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  calvorin::win32::disableWindowGhosting();
  try {
    return runCalvorin();
  } catch (const std::exception& error) {
    // Before the main window could load (its class, the window itself): told
    // as a failing start-up is.
    calvorin::win32::showMessageBox(nullptr, error.what(), calvorin::texts::kAppTitle,
                                    calvorin::platform::MessageIcon::Critical);
    return 1;
  }
}
