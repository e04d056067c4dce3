#include "autostart/autostart_commands.h"

#include <algorithm>
#include <cctype>

#include "platform/registry.h"
#include "resources/texts.h"

namespace calvorin::autostart {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string autoStartPath(const std::string& applicationPath) {
  return applicationPath + "\\Calvorin.exe";
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
