#include "service/messenger_service.h"

#include "platform/platform_error.h"
#include "resources/texts.h"
#include "service/service_values.h"

namespace calvorin::service {

namespace {
constexpr std::uint32_t kWbemNotFound = 0x80041002;
}  // namespace

void MessengerService::OpenConnection() {
  Locator = wmi_.createLocator();
  Services = Locator->connectServer(platform::ConnectServerArgs{});
}

std::unique_ptr<platform::WmiObject> MessengerService::fetchService() {
  if (!Services) {
    throw platform::PlatformError("There is no connection to WMI.");
  }
  try {
    return Services->get(kMessengerObjectPath);
  } catch (const platform::PlatformError& error) {
    if (error.code() != kWbemNotFound)
      throw;
    throw platform::PlatformError(texts::kServiceMissing, error.code());
  }
}

std::optional<std::uint32_t> MessengerService::ServiceControl(std::uint8_t operation) {
  auto service = fetchService();
  std::optional<std::uint32_t> answer;
  if (operation == ServiceOpStart) {
    ownStartRequested_ = true;
    answer = service->callMethod("StartService");
  } else if (operation == ServiceOpStop) {
    answer = service->callMethod("StopService");
  }
  // The outcome is judged from a fresh object only: the one the method was
  // called on still holds the state from before the request.
  service = fetchService();
  const bool running = stateReads(*service, kStateRunning);
  ServiceRunning = operation == ServiceOpStart && running;
  return answer;
}

}  // namespace calvorin::service
