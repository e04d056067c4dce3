#pragma once

#include "platform/window.h"

// The program's own words and colours.
namespace calvorin::app {

inline constexpr char kAppTitle[] = "Calvorin 1.0";

inline constexpr char kTooltipRunning[] = "Service is Running";
inline constexpr char kTooltipStopped[] = "Service is Stopped";

inline constexpr char kStatusVulnerable[] = "Your System is vulnerable to Messenger Spam.";
inline constexpr char kStatusProtected[] = "Your System is protected from Messenger Spam.";
inline constexpr char kStatusDisabled[] = "Service is disabled in System profile.";

inline constexpr char kStartedOutsideWarning[] =
    "The Messenger service was started. Your System is vulnerable to Messenger Spam.";

inline constexpr platform::Color kColorRunning = 0x00C000;   // green
inline constexpr platform::Color kColorStopped = 0x0040C0;   // orange-red
inline constexpr platform::Color kColorProgress = 0x00FFFF;  // yellow

}  // namespace calvorin::app
