// Prints the Messenger service's State and StartMode as the program reads
// them: through its own WMI layer, on a fresh connection.
#include <cstdio>

#include "platform/platform_error.h"
#include "platform/win32/com_wmi.h"
#include "service/messenger_service.h"
#include "service/service_values.h"

using calvorin::platform::PlatformError;

namespace {

void print(const char* name, const std::optional<std::string>& value) {
  std::printf("%s: %s\n", name, value ? value->c_str() : "(null)");
}

}  // namespace

int main() {
  calvorin::win32::ComWmi wmi;
  try {
    calvorin::service::MessengerService service(wmi);
    service.OpenConnection();
    auto messenger = service.fetchService();
    print(calvorin::service::kStateProperty,
          messenger->property(calvorin::service::kStateProperty));
    print(calvorin::service::kStartModeProperty,
          messenger->property(calvorin::service::kStartModeProperty));
    return 0;
  } catch (const PlatformError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
