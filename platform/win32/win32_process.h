#pragma once

#include "platform/clock.h"
#include "platform/help_engine.h"
#include "platform/process.h"

namespace calvorin::win32 {

class Win32Environment final : public platform::Environment {
 public:
  std::string applicationPath() const override;
  std::optional<std::string> variable(const std::string& name) const override;
};

class Win32Launcher final : public platform::ProgramLauncher {
 public:
  void launch(const std::string& commandLine) override;
};

class Win32HelpEngine final : public platform::HelpEngine {
 public:
  bool winHelp(std::uint32_t window, const std::string& helpFile, std::uint32_t command,
               std::uintptr_t data) override;
};

// The performance counter: monotonic, fine-grained, and it does not wrap at
// midnight as the time of day does.
class PerformanceClock final : public platform::Clock {
 public:
  double now() override;
};

// The folder of a full program path as the program reports it: no trailing
// backslash, except at the root of a drive.
std::string folderOf(const std::string& programPath);

}  // namespace calvorin::win32
