#pragma once

#include "platform/window.h"

// The program's own words and colours: everything it shows outside its
// windows' layouts (which hold captions and menu entries). Several texts are
// established as they stand, odd spelling and spacing included: users and
// the help file quote them. Do not "correct" them.
//
// The texts are not inline variables: each file has its own copy, and the
// linker merges the copies. An inline text that the link-time optimiser
// merges with an equal string leaves the linker a COMDAT section without its
// symbol, which it warns about.
namespace calvorin::texts {

using platform::Color;

constexpr char kProductName[] = "Calvorin";
// The main window's caption, and the title of most of its boxes.
constexpr char kAppTitle[] = "Calvorin 1.0";
constexpr char kAboutCaptionPrefix[] = "About - ";
constexpr char kWebSite[] = "http://www.calvorin.example/";

constexpr char kTooltipRunning[] = "Service is Running";
constexpr char kTooltipStopped[] = "Service is Stopped";

// The status line.
constexpr char kStatusVulnerable[] = "Your System is vulnerable to Messenger Spam.";
constexpr char kStatusProtected[] = "Your System is protected from Messenger Spam.";
constexpr char kStatusDisabled[] = "Service is disabled in System profile.";
constexpr char kStartingService[] = "Starting Service.";
// Established spelling.
constexpr char kStoppingService[] = "Stoping Service.";

inline constexpr Color kColorRunning = 0x00C000;   // green
inline constexpr Color kColorStopped = 0x0040C0;   // orange-red
inline constexpr Color kColorProgress = 0x00FFFF;  // yellow

// The start and stop commands' boxes.
constexpr char kAlreadyRunning[] = "Service is already running.";
// Established title of the box above.
constexpr char kAlreadyRunningTitle[] = "Tervalis.";
constexpr char kAlreadyStopped[] = "Service is already stopped.";
constexpr char kStartSucceeded[] = "Service started Successfully.";
// Established text, leading blank included.
constexpr char kStartFailed[] = " Unable To Start Service. Try Again";
constexpr char kStopSucceeded[] = "Service stopped Successfully.";
constexpr char kStopFailed[] = "Unable To Stop Service. Try again";
constexpr char kStartDenied[] = "Administrator rights are needed to start the Messenger service.";
constexpr char kStopDenied[] = "Administrator rights are needed to stop the Messenger service.";
// Established spelling ("desabled"); the box bears the product's name.
constexpr char kServiceDisabled[] =
    "Either Messenger Service is desabled from Profile or dependency service is stopped or "
    "desabled in profile";

constexpr char kServiceMissing[] = "The Messenger service was not found on this computer.";
constexpr char kStartedOutsideWarning[] =
    "The Messenger service was started. Your System is vulnerable to Messenger Spam.";

constexpr char kAutoStartDenied[] =
    "The auto-start setting could not be changed: administrator rights are needed to change it.";
// Followed by the platform's error code and ").".
constexpr char kAutoStartFailedPrefix[] = "The auto-start setting could not be changed (error ";

}  // namespace calvorin::texts
