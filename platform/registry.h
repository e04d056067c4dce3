#pragma once

#include <cstdint>
#include <string>

// The registry functions of advapi32, ANSI forms. Keys are 32-bit handle
// values; every call returns the platform's error code, 0 for success, and
// never throws.
namespace calvorin::platform {

using RegistryKey = std::uint32_t;

inline constexpr RegistryKey kHkeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyA: on failure the key stays 0.
  virtual long openKey(RegistryKey root, const std::string& path, RegistryKey& key) = 0;
  // RegQueryValueExA: length is the buffer's size in, the data's length out.
  virtual long queryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& length) = 0;
  virtual long closeKey(RegistryKey key) = 0;
  // RegCreateKeyA: opens the key, creating the path when it is missing.
  virtual long createKey(RegistryKey root, const std::string& path, RegistryKey& key) = 0;
  virtual long setValue(RegistryKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t length) = 0;
  virtual long flushKey(RegistryKey key) = 0;
  virtual long deleteValue(RegistryKey key, const std::string& name) = 0;
};

// A key of a Registry, opened or created into key(), and closed when the
// owner goes, on every path. A key that was never opened (0) is not closed.
class RegistryKeyOwner {
 public:
  explicit RegistryKeyOwner(Registry& registry) : registry_(registry) {}
  RegistryKeyOwner(const RegistryKeyOwner&) = delete;
  RegistryKeyOwner& operator=(const RegistryKeyOwner&) = delete;
  ~RegistryKeyOwner() {
    if (key_ != 0)
      registry_.closeKey(key_);
  }

  RegistryKey& key() { return key_; }

 private:
  Registry& registry_;
  RegistryKey key_ = 0;
};

}  // namespace calvorin::platform
