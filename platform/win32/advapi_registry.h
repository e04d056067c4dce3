#pragma once

#include "platform/registry.h"

namespace calvorin::win32 {

class AdvapiRegistry final : public platform::Registry {
 public:
  long openKey(platform::RegistryKey root, const std::string& path,
               platform::RegistryKey& key) override;
  long queryValue(platform::RegistryKey key, const std::string& name, std::uint32_t& type,
                  std::uint8_t* data, std::uint32_t& length) override;
  long closeKey(platform::RegistryKey key) override;
  long createKey(platform::RegistryKey root, const std::string& path,
                 platform::RegistryKey& key) override;
  long setValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t length) override;
  long flushKey(platform::RegistryKey key) override;
  long deleteValue(platform::RegistryKey key, const std::string& name) override;
};

}  // namespace calvorin::win32
