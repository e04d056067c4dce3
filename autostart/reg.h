#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace calvorin::autostart {

// What GetRegValue returns for a value it cannot read.
inline constexpr char kNotFound[] = "Not Found";

// Registry texts such as paths compare as Windows compares them: without
// regard to letter case.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

// Single registry values: each call opens its key, does its one job and
// closes the key again on every path. Platform failures never reach the
// caller.
class Reg {
 public:
  explicit Reg(platform::Registry& registry) : registry_(registry) {}

  // The value's data as text, formatted by its type, or "Not Found".
  std::string GetRegValue(platform::RegistryKey root, const std::string& path,
                          const std::string& name);

  // Writes text as REG_SZ. Returns 0 when the value was written, else the
  // platform's error code.
  long SetRegValue(platform::RegistryKey root, const std::string& path, const std::string& name,
                   std::uint32_t type, const std::string& value);

  // Returns 0 when the value is absent afterwards (also when it never
  // existed), else the platform's error code.
  long DeleteRegValue(platform::RegistryKey root, const std::string& path, const std::string& name);

 private:
  platform::Registry& registry_;
};

// Registry data as GetRegValue shows it: REG_DWORD in decimal with at least
// three digits, REG_BINARY as upper-case hex, anything else as text less its
// last byte. Reads no further than length.
std::string formatRegistryData(std::uint32_t type, const std::uint8_t* data, std::uint32_t length);

}  // namespace calvorin::autostart
