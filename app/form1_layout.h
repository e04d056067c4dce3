#pragma once

#include "platform/form.h"

namespace calvorin::app {

// The main window: caption, size, status line, picture buttons, the two
// hidden tray pictures and the menu tree.
platform::FormDescription form1Layout();

}  // namespace calvorin::app
