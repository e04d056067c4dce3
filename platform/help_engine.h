#pragma once

#include <cstdint>
#include <string>

namespace calvorin::platform {

inline constexpr std::uint32_t kHelpContext = 1;
inline constexpr std::uint32_t kHelpQuit = 2;

// The Windows help engine: WinHelpA.
class HelpEngine {
 public:
  virtual ~HelpEngine() = default;
  // data is the command's argument: a number, or the address of its data.
  virtual bool winHelp(std::uint32_t window, const std::string& helpFile, std::uint32_t command,
                       std::uintptr_t data) = 0;
};

}  // namespace calvorin::platform
