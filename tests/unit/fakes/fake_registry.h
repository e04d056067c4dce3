#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace calvorin::fakes {

// An in-memory registry: keys by full path, values by name, handles counted
// out from 0x100. Records every call in order, and can be told to fail.
class FakeRegistry final : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };

  long openKey(platform::RegistryKey root, const std::string& path,
               platform::RegistryKey& key) override {
    calls.push_back("open " + path);
    key = 0;
    if (failOpenWith != 0)
      return failOpenWith;
    if (!keys.count(fullPath(root, path)))
      return platform::kErrorFileNotFound;
    key = handleFor(fullPath(root, path));
    return 0;
  }

  long queryValue(platform::RegistryKey key, const std::string& name, std::uint32_t& type,
                  std::uint8_t* data, std::uint32_t& length) override {
    calls.push_back("query " + name + " " + std::to_string(length));
    if (key == 0)
      return 6;  // ERROR_INVALID_HANDLE
    const auto& values = keys[handles[key]];
    const auto found = values.find(name);
    if (found == values.end())
      return platform::kErrorFileNotFound;
    type = found->second.type;
    const auto size = static_cast<std::uint32_t>(found->second.data.size());
    if (size > length) {
      length = size;
      return 234;  // ERROR_MORE_DATA
    }
    std::copy(found->second.data.begin(), found->second.data.end(), data);
    length = overstateLength ? length + 1000 : size;
    return 0;
  }

  long closeKey(platform::RegistryKey key) override {
    calls.push_back("close " + std::to_string(key));
    return 0;
  }

  long createKey(platform::RegistryKey root, const std::string& path,
                 platform::RegistryKey& key) override {
    calls.push_back("create " + path);
    key = 0;
    if (failCreateWith != 0)
      return failCreateWith;
    keys[fullPath(root, path)];
    key = handleFor(fullPath(root, path));
    return 0;
  }

  long setValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t length) override {
    calls.push_back("set " + name);
    if (key == 0)
      return 6;
    keys[handles[key]][name] = Value{type, std::vector<std::uint8_t>(data, data + length)};
    return 0;
  }

  long flushKey(platform::RegistryKey key) override {
    calls.push_back("flush " + std::to_string(key));
    return 0;
  }

  long deleteValue(platform::RegistryKey key, const std::string& name) override {
    calls.push_back("delete " + name);
    if (key == 0)
      return 6;
    return keys[handles[key]].erase(name) == 1 ? 0 : platform::kErrorFileNotFound;
  }

  void put(const std::string& path, const std::string& name, std::uint32_t type,
           std::vector<std::uint8_t> data) {
    keys[fullPath(platform::kHkeyLocalMachine, path)][name] = Value{type, std::move(data)};
  }

  const Value* find(const std::string& path, const std::string& name) {
    auto& values = keys[fullPath(platform::kHkeyLocalMachine, path)];
    const auto found = values.find(name);
    return found == values.end() ? nullptr : &found->second;
  }

  std::map<std::string, std::map<std::string, Value>> keys;
  std::vector<std::string> calls;
  long failOpenWith = 0;
  long failCreateWith = 0;
  bool overstateLength = false;

 private:
  static std::string fullPath(platform::RegistryKey root, const std::string& path) {
    return std::to_string(root) + "\\" + path;
  }
  platform::RegistryKey handleFor(const std::string& path) {
    const platform::RegistryKey handle = nextHandle_++;
    handles[handle] = path;
    return handle;
  }

  std::map<platform::RegistryKey, std::string> handles;
  platform::RegistryKey nextHandle_ = 0x100;
};

}  // namespace calvorin::fakes
