#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/form.h"
#include "platform/help_engine.h"
#include "platform/process.h"

namespace calvorin::help {

inline constexpr char kHelpFileName[] = "Calvorin.HLP";

// The program's help: keeps the main window's handle, makes Calvorin.HLP
// beside the program the application's help file (which F1 opens at a
// window's context number, help_contexts.h), and tells the help engine to
// close help when the main window no longer needs it. The Messenger Help
// command's line is built below.
class ContextIDs {
 public:
  ContextIDs(platform::HelpEngine& engine, platform::Environment& environment, platform::Ui& ui)
      : engine_(engine), environment_(environment), ui_(ui) {}

  void InitHelp(std::uint32_t mainWindow);
  void QuitHelp();

 private:
  platform::HelpEngine& engine_;
  platform::Environment& environment_;
  platform::Ui& ui_;
  std::uint32_t mainWindow_ = 0;
};

// The help file beside the program; a drive root already ends in "\".
std::string helpFilePath(const std::string& applicationPath);

// The help viewer on the help file. Both paths are quoted: unquoted, a path
// with blanks would make Windows run the wrong program ("C:\Program.exe").
std::string messengerHelpCommandLine(const std::optional<std::string>& windir,
                                     const std::string& applicationPath);

}  // namespace calvorin::help
