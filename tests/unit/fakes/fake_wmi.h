#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_error.h"
#include "platform/wmi.h"

namespace calvorin::fakes {

// A Messenger service as WMI would show it. Fetched objects are snapshots:
// a method call changes the service, not the object it was called on.
struct FakeServiceManager {
  std::optional<std::string> state = "Stopped";
  std::optional<std::string> startMode = "Manual";
  // The State a request leads to, as the next fetch will see it.
  std::optional<std::string> stateAfterStart = "Running";
  std::optional<std::string> stateAfterStop = "Stopped";
  // What StartService and StopService return; any answer but 0 leaves the
  // service as it is.
  std::uint32_t methodAnswer = 0;

  bool serviceExists = true;
  bool connectFails = false;
  // Connections made before this many are dead, as after a restart of the
  // WMI service: every call on them fails.
  std::size_t deadBefore = 0;
  // Properties that objects fetched now lack: reading them fails.
  std::set<std::string> unreadable;

  std::function<void()> onFetch;

  std::vector<std::string> methodCalls;
  std::vector<std::string> fetchedPaths;
  std::vector<platform::ConnectServerArgs> connections;
  int locatorsCreated = 0;
};

class FakeObject final : public platform::WmiObject {
 public:
  explicit FakeObject(FakeServiceManager& manager)
      : manager_(manager), properties_{{"State", manager.state}, {"StartMode", manager.startMode}} {
    for (const auto& name : manager.unreadable)
      properties_.erase(name);
  }

  std::optional<std::string> property(const std::string& name) override {
    const auto found = properties_.find(name);
    if (found == properties_.end()) {
      throw platform::PlatformError("no property " + name, 0x80041002u);
    }
    return found->second;
  }

  std::optional<std::uint32_t> callMethod(const std::string& name) override {
    manager_.methodCalls.push_back(name);
    if (manager_.methodAnswer != 0)
      return manager_.methodAnswer;
    if (name == "StartService")
      manager_.state = manager_.stateAfterStart;
    if (name == "StopService")
      manager_.state = manager_.stateAfterStop;
    return 0;
  }

 private:
  FakeServiceManager& manager_;
  std::map<std::string, std::optional<std::string>> properties_;
};

class FakeServices final : public platform::WmiServices {
 public:
  explicit FakeServices(FakeServiceManager& manager)
      : manager_(manager), connection_(manager.connections.size() - 1) {}

  std::unique_ptr<platform::WmiObject> get(const std::string& objectPath) override {
    if (connection_ < manager_.deadBefore)
      throw platform::PlatformError("The object invoked has disconnected", 0x80010108u);
    manager_.fetchedPaths.push_back(objectPath);
    if (manager_.onFetch)
      manager_.onFetch();
    if (!manager_.serviceExists || objectPath != "Win32_Service.Name='Messenger'") {
      throw platform::PlatformError("not found", 0x80041002u);
    }
    return std::make_unique<FakeObject>(manager_);
  }

 private:
  FakeServiceManager& manager_;
  std::size_t connection_;
};

class FakeLocator final : public platform::WmiLocator {
 public:
  explicit FakeLocator(FakeServiceManager& manager) : manager_(manager) {}

  std::unique_ptr<platform::WmiServices> connectServer(
      const platform::ConnectServerArgs& args) override {
    if (manager_.connectFails)
      throw platform::PlatformError("cannot connect", 0x80041003u);
    manager_.connections.push_back(args);
    return std::make_unique<FakeServices>(manager_);
  }

 private:
  FakeServiceManager& manager_;
};

class FakeWmi final : public platform::Wmi {
 public:
  explicit FakeWmi(FakeServiceManager& manager) : manager_(manager) {}

  std::unique_ptr<platform::WmiLocator> createLocator() override {
    ++manager_.locatorsCreated;
    return std::make_unique<FakeLocator>(manager_);
  }

 private:
  FakeServiceManager& manager_;
};

}  // namespace calvorin::fakes
