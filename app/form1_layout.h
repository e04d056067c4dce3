#pragma once

#include "platform/form.h"

namespace calvorin::app {

// The main window's controls, menu entries and timer, by the names its
// design gives them. A menu entry's id is also its command's id.
enum Form1Control : platform::ControlId { Label1 = 1, Image1, Image2, Image3, Image4 };
enum Form1Menu : platform::MenuId {
  mnuFile = 100,
  mnustart,
  mnuspace1,
  mnuStop,
  mnuspace2,
  mnuAst,
  mnuspace3,
  mnuAdis,
  mnuspace4,
  mnuExit,
  mnuRefresh,
  mnuHelp,
  menuMsgHelp,
  mnuAbout,
};
enum Form1Timer : platform::TimerId { Timer1 = 1 };

// The main window: caption, size, status line, picture buttons, the two
// hidden tray pictures and the menu tree.
platform::FormDescription form1Layout();

}  // namespace calvorin::app
