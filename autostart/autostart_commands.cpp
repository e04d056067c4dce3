#include "autostart/autostart_commands.h"

#include "platform/registry.h"
#include "resources/texts.h"

namespace calvorin::autostart {

std::string autoStartPath(const std::string& applicationPath) {
  return "\"" + applicationPath + "\\Calvorin.exe\"";
}

bool isRegistered(Reg& reg) {
  return !equalsIgnoringCase(reg.GetRegValue(platform::kHkeyLocalMachine, kRunKey, kRunValue),
                             kNotFound);
}

std::string autoStartFailureText(long error) {
  if (error == platform::kErrorAccessDenied)
    return texts::kAutoStartDenied;
  return texts::kAutoStartFailedPrefix + std::to_string(error) + ").";
}

}  // namespace calvorin::autostart
