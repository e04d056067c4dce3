#pragma once

#include <optional>
#include <string>

namespace calvorin::platform {

// The running program's surroundings.
class Environment {
 public:
  virtual ~Environment() = default;
  // The folder the program runs from, without a trailing backslash except at
  // the root of a drive.
  virtual std::string applicationPath() const = 0;
  // An environment variable; nullopt when it is not set.
  virtual std::optional<std::string> variable(const std::string& name) const = 0;
};

// Starts programs from a command line with a normal, activated window.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // Throws PlatformError when the program cannot be started.
  virtual void launch(const std::string& commandLine) = 0;
};

}  // namespace calvorin::platform
