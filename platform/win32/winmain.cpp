// Calvorin.exe: wires the real platform to the main window and runs it.
#include <windows.h>

#include "app/form1.h"
#include "platform/win32/com_wmi.h"
#include "platform/win32/shell_notification_area.h"
#include "platform/win32/win32_ui.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Declared first so that COM outlives every WMI object the window holds.
  calvorin::win32::ComWmi wmi;
  calvorin::win32::ShellNotificationArea notificationArea;
  calvorin::win32::Win32Ui ui;
  calvorin::app::Form1 form({wmi, notificationArea, ui});
  if (!form.load())
    return 1;
  return ui.run();
}
