#include "app/form1_layout.h"

#include "help/help_contexts.h"
#include "resources/texts.h"

namespace calvorin::app {

platform::FormDescription form1Layout() {
  platform::FormDescription form;
  form.caption = texts::kAppTitle;
  form.iconResource = "CALVORIN";
  form.left = 2340;
  form.top = 2700;
  form.clientWidth = 5175;
  form.clientHeight = 2145;
  form.backColor = 0xE0E0E0;
  form.helpContextId = help::kMainWindowContext;

  // The status line's lowest 30 twips lie below the client area, as designed.
  form.labels.push_back({Label1,
                         {0, 1920, 5175, 255},
                         "",
                         platform::Font{"MS Sans Serif", 9.75f, true},
                         std::nullopt,
                         0xC0C0C0});

  // In the order the window holds them.
  form.pictures = {
      {Image4, {3240, 360, 885, 885}, "STOP", true, true},
      {Image3, {1080, 360, 885, 885}, "START", true, true},
      {Image2, {3960, 120, 480, 480}, "STOPPED", false, false},
      {Image1, {4080, 720, 480, 480}, "RUNNING", false, false},
  };

  form.menus = {
      {mnuFile,
       "Messenger Service",
       {
           {mnustart, "&Start", {}},
           {mnuspace1, "-", {}},
           {mnuStop, "&Stop", {}},
           {mnuspace2, "-", {}},
           {mnuAst, "&Enable Auto StartUp", {}},
           {mnuspace3, "-", {}},
           {mnuAdis, "&Disable Auto StartUp", {}},
           {mnuspace4, "-", {}},
           {mnuExit, "&E&xit", {}},
       }},
      {mnuRefresh, "Refresh", {}},
      {mnuHelp,
       "Help",
       {
           {menuMsgHelp, "Messenger Help", {}},
           {mnuAbout, "About", {}},
       }},
  };
  // Live state: the display follows changes made outside the program.
  form.timers = {{Timer1, 5000, true}};
  return form;
}

}  // namespace calvorin::app
