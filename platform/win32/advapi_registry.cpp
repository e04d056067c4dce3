#include "platform/win32/advapi_registry.h"

#include <windows.h>

#include "platform/win32/port_handles.h"

namespace calvorin::win32 {

namespace {

HKEY toHkey(platform::RegistryKey key) {
  return fromPortHandle<HKEY>(key);
}

platform::RegistryKey fromHkey(HKEY key) {
  return toPortHandle(key);
}

}  // namespace

long AdvapiRegistry::openKey(platform::RegistryKey root, const std::string& path,
                             platform::RegistryKey& key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyA(toHkey(root), path.c_str(), &opened);
  key = result == ERROR_SUCCESS ? fromHkey(opened) : 0;
  return result;
}

long AdvapiRegistry::queryValue(platform::RegistryKey key, const std::string& name,
                                std::uint32_t& type, std::uint8_t* data, std::uint32_t& length) {
  DWORD valueType = 0;
  DWORD valueLength = length;
  const LONG result =
      RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, data, &valueLength);
  type = valueType;
  length = valueLength;
  return result;
}

long AdvapiRegistry::closeKey(platform::RegistryKey key) {
  return RegCloseKey(toHkey(key));
}

long AdvapiRegistry::createKey(platform::RegistryKey root, const std::string& path,
                               platform::RegistryKey& key) {
  HKEY created = nullptr;
  const LONG result = RegCreateKeyA(toHkey(root), path.c_str(), &created);
  key = result == ERROR_SUCCESS ? fromHkey(created) : 0;
  return result;
}

long AdvapiRegistry::setValue(platform::RegistryKey key, const std::string& name,
                              std::uint32_t type, const std::uint8_t* data, std::uint32_t length) {
  return RegSetValueExA(toHkey(key), name.c_str(), 0, type, data, length);
}

long AdvapiRegistry::flushKey(platform::RegistryKey key) {
  return RegFlushKey(toHkey(key));
}

long AdvapiRegistry::deleteValue(platform::RegistryKey key, const std::string& name) {
  return RegDeleteValueA(toHkey(key), name.c_str());
}

}  // namespace calvorin::win32
