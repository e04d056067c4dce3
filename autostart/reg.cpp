#include "autostart/reg.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace calvorin::autostart {

namespace {

constexpr std::uint32_t kBufferSize = 2048;

}  // namespace

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string formatRegistryData(std::uint32_t type, const std::uint8_t* data, std::uint32_t length) {
  if (type == platform::kRegDword) {
    // A short value counts only the bytes it has.
    std::uint32_t number = 0;
    for (std::uint32_t i = 0; i < 4 && i < length; ++i) {
      number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    // At least three digits, zeros in front.
    std::string text = std::to_string(number);
    if (text.size() < 3)
      text.insert(0, 3 - text.size(), '0');
    return text;
  }
  if (type == platform::kRegBinary) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(std::size_t{length} * 2);
    for (std::uint32_t i = 0; i < length; ++i) {
      text += kHex[data[i] >> 4];
      text += kHex[data[i] & 0x0F];
    }
    return text;
  }
  // For strings the dropped byte is the terminating NUL.
  if (length == 0)
    return {};
  return std::string(reinterpret_cast<const char*>(data), length - 1);
}

std::string Reg::GetRegValue(platform::RegistryKey root, const std::string& path,
                             const std::string& name) {
  platform::RegistryKeyOwner key(registry_);
  registry_.openKey(root, path, key.key());
  std::array<std::uint8_t, kBufferSize> buffer{};
  std::uint32_t type = 0;
  std::uint32_t length = kBufferSize;
  const long result = registry_.queryValue(key.key(), name, type, buffer.data(), length);
  if (result != 0)
    return kNotFound;
  return formatRegistryData(type, buffer.data(), std::min(length, kBufferSize));
}

long Reg::SetRegValue(platform::RegistryKey root, const std::string& path, const std::string& name,
                      std::uint32_t type, const std::string& value) {
  platform::RegistryKeyOwner key(registry_);
  const long created = registry_.createKey(root, path, key.key());
  // The text with its NUL, so that a reader gets exactly the text back.
  const std::string data = value + '\0';
  const long written =
      registry_.setValue(key.key(), name, type, reinterpret_cast<const std::uint8_t*>(data.data()),
                         static_cast<std::uint32_t>(data.size()));
  registry_.flushKey(key.key());
  return created != 0 ? created : written;
}

long Reg::DeleteRegValue(platform::RegistryKey root, const std::string& path,
                         const std::string& name) {
  platform::RegistryKeyOwner key(registry_);
  const long opened = registry_.openKey(root, path, key.key());
  const long deleted = registry_.deleteValue(key.key(), name);
  // A value under a key that does not exist is absent too.
  if (opened == platform::kErrorFileNotFound)
    return 0;
  if (opened != 0)
    return opened;
  return deleted == platform::kErrorFileNotFound ? 0 : deleted;
}

}  // namespace calvorin::autostart
