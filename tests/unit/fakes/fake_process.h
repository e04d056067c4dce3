#pragma once

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/help_engine.h"
#include "platform/platform_error.h"
#include "platform/process.h"

namespace calvorin::fakes {

class FakeEnvironment final : public platform::Environment {
 public:
  std::string applicationPath() const override { return path; }
  std::optional<std::string> variable(const std::string& name) const override {
    const auto found = variables.find(name);
    if (found == variables.end())
      return std::nullopt;
    return found->second;
  }

  std::string path = "C:\\Program Files\\Calvorin";
  std::map<std::string, std::string> variables{{"windir", "C:\\WINDOWS"}};
};

class FakeLauncher final : public platform::ProgramLauncher {
 public:
  void launch(const std::string& commandLine) override {
    if (fails)
      throw platform::PlatformError("cannot start " + commandLine, 2);
    launched.push_back(commandLine);
  }

  std::vector<std::string> launched;
  bool fails = false;
};

class FakeHelpEngine final : public platform::HelpEngine {
 public:
  struct Call {
    std::uint32_t window;
    std::string helpFile;
    std::uint32_t command;
    std::string data;  // the four bytes data points to, for HELP_QUIT
  };

  bool winHelp(std::uint32_t window, const std::string& helpFile, std::uint32_t command,
               std::uintptr_t data) override {
    std::string bytes;
    if (command == platform::kHelpQuit && data != 0) {
      // WinHelp's data is the address of the quit command's record here.
      bytes.assign(reinterpret_cast<const char*>(data), 4);  // NOLINT(performance-no-int-to-ptr)
    }
    calls.push_back({window, helpFile, command, bytes});
    return true;
  }

  std::vector<Call> calls;
};

}  // namespace calvorin::fakes
