#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace calvorin::platform {

// The one failure type of every platform call. Event handlers end at the call
// that threw; the window's event dispatch catches it and presents the message.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(const std::string& message, std::uint32_t code = 0)
      : std::runtime_error(message), code_(code) {}

  // The platform's own code (an HRESULT or a Win32 error), 0 when there is none.
  std::uint32_t code() const { return code_; }

 private:
  std::uint32_t code_;
};

}  // namespace calvorin::platform
