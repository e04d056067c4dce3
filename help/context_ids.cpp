#include "help/context_ids.h"

namespace calvorin::help {

namespace {

// HELP_QUIT takes no data; four NULs stand in for it.
constexpr char kNoData[4] = {'\0', '\0', '\0', '\0'};

std::string trimmedOfBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string helpFilePath(const std::string& applicationPath) {
  const std::string trimmed = trimmedOfBlanks(applicationPath);
  const bool atDriveRoot = !trimmed.empty() && trimmed.back() == '\\';
  return applicationPath + (atDriveRoot ? "" : "\\") + kHelpFileName;
}

std::string messengerHelpCommandLine(const std::optional<std::string>& windir,
                                     const std::string& applicationPath) {
  return "\"" + windir.value_or("") + "\\winhlp32\" \"" + applicationPath + "\\" + kHelpFileName +
         "\"";
}

void ContextIDs::InitHelp(std::uint32_t mainWindow) {
  mainWindow_ = mainWindow;
  ui_.setHelpFile(helpFilePath(environment_.applicationPath()));
}

void ContextIDs::QuitHelp() {
  engine_.winHelp(mainWindow_, ui_.helpFile(), platform::kHelpQuit,
                  reinterpret_cast<std::uintptr_t>(kNoData));
}

}  // namespace calvorin::help
