#include "service/service_commands.h"

#include "app/texts.h"
#include "service/service_values.h"

namespace calvorin::service {

const ServiceCommand kStartCommand{
    ServiceOpStart,
    true,
    "Service is already running.",
    "Tervalis.",
    false,
    "Starting Service.",
    60,
    {45, 30, 15},
    kStateRunning,
    true,
    "Service started Successfully.",
    " Unable To Start Service. Try Again",
    app::kStatusProtected,
    app::kColorStopped,
};

const ServiceCommand kStopCommand{
    ServiceOpStop,
    false,
    "Service is already stopped.",
    app::kAppTitle,
    true,
    "Stoping Service.",
    15,
    {10, 5, 0},
    kStateStopped,
    false,
    "Service stopped Successfully.",
    "Unable To Stop Service. Try again",
    app::kStatusVulnerable,
    app::kColorRunning,
};

}  // namespace calvorin::service
