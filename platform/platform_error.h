#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace calvorin::platform {

// The one failure type of every platform call. Event handlers end at the call
// that threw; the window's event dispatch catches it and presents the message.
// A plain std::exception with its own text: std::runtime_error would bring the
// C++ library's second, reference-counted string into the program.
class PlatformError : public std::exception {
 public:
  PlatformError(std::string message, std::uint32_t code = 0)
      : message_(std::move(message)), code_(code) {}

  const char* what() const noexcept override { return message_.c_str(); }

  // The platform's own code (an HRESULT or a Win32 error), 0 when there is none.
  std::uint32_t code() const { return code_; }

 private:
  std::string message_;
  std::uint32_t code_;
};

}  // namespace calvorin::platform
