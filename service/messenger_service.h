#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "platform/wmi.h"

namespace calvorin::service {

// The WMI connection to the local machine and the program's belief about the
// Messenger service. The service object itself is never kept: each use
// fetches it anew.
class MessengerService {
 public:
  explicit MessengerService(platform::Wmi& wmi) : wmi_(wmi) {}

  // Replaces the locator, then the connection. When connecting fails the
  // previous connection stays in place.
  void OpenConnection();

  // Fetches the Messenger service object through the current connection.
  std::unique_ptr<platform::WmiObject> fetchService();

  // Sends one control request (ServiceOpStart or ServiceOpStop) and sets
  // ServiceRunning from a fresh fetch. It does not wait for the service.
  // Returns the request's own answer (0: accepted), nullopt when none came.
  std::optional<std::uint32_t> ServiceControl(std::uint8_t operation);

  // Whether a start request of the program's own was sent since the last
  // call: a service found running after it was not started outside, even
  // when it got there only after the start command gave up on it.
  bool takeOwnStartRequest() { return std::exchange(ownStartRequested_, false); }

  // True while the program holds the service to be running. After a
  // successful stop it is false: it is not a success flag.
  bool ServiceRunning = false;

 private:
  platform::Wmi& wmi_;
  std::unique_ptr<platform::WmiLocator> Locator;
  std::unique_ptr<platform::WmiServices> Services;
  bool ownStartRequested_ = false;
};

}  // namespace calvorin::service
