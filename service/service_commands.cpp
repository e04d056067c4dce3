#include "service/service_commands.h"

#include "resources/texts.h"
#include "service/service_values.h"

namespace calvorin::service {

const ServiceCommand kStartCommand{
    ServiceOpStart,
    true,
    texts::kAlreadyRunning,
    texts::kAlreadyRunningTitle,
    false,
    texts::kStartingService,
    60,
    {45, 30, 15},
    kStateRunning,
    true,
    texts::kStartSucceeded,
    texts::kStartFailed,
    texts::kStartDenied,
    texts::kStatusProtected,
    texts::kColorStopped,
};

const ServiceCommand kStopCommand{
    ServiceOpStop,
    false,
    texts::kAlreadyStopped,
    texts::kAppTitle,
    true,
    texts::kStoppingService,
    15,
    {10, 5, 0},
    kStateStopped,
    false,
    texts::kStopSucceeded,
    texts::kStopFailed,
    texts::kStopDenied,
    texts::kStatusVulnerable,
    texts::kColorRunning,
};

}  // namespace calvorin::service
