#pragma once

#include "platform/window.h"

// The program's own words and colours: everything it shows outside its
// windows' layouts (which hold captions and menu entries). Several texts are
// established as they stand, odd spelling and spacing included: users and
// the help file quote them. Do not "correct" them.
namespace calvorin::texts {

using platform::Color;

inline constexpr char kProductName[] = "Calvorin";
// The main window's caption, and the title of most of its boxes.
inline constexpr char kAppTitle[] = "Calvorin 1.0";
inline constexpr char kAboutCaptionPrefix[] = "About - ";
inline constexpr char kWebSite[] = "http://www.calvorin.example/";

inline constexpr char kTooltipRunning[] = "Service is Running";
inline constexpr char kTooltipStopped[] = "Service is Stopped";

// The status line.
inline constexpr char kStatusVulnerable[] = "Your System is vulnerable to Messenger Spam.";
inline constexpr char kStatusProtected[] = "Your System is protected from Messenger Spam.";
inline constexpr char kStatusDisabled[] = "Service is disabled in System profile.";
inline constexpr char kStartingService[] = "Starting Service.";
// Established spelling.
inline constexpr char kStoppingService[] = "Stoping Service.";

inline constexpr Color kColorRunning = 0x00C000;   // green
inline constexpr Color kColorStopped = 0x0040C0;   // orange-red
inline constexpr Color kColorProgress = 0x00FFFF;  // yellow

// The start and stop commands' boxes.
inline constexpr char kAlreadyRunning[] = "Service is already running.";
// Established title of the box above.
inline constexpr char kAlreadyRunningTitle[] = "Tervalis.";
inline constexpr char kAlreadyStopped[] = "Service is already stopped.";
inline constexpr char kStartSucceeded[] = "Service started Successfully.";
// Established text, leading blank included.
inline constexpr char kStartFailed[] = " Unable To Start Service. Try Again";
inline constexpr char kStopSucceeded[] = "Service stopped Successfully.";
inline constexpr char kStopFailed[] = "Unable To Stop Service. Try again";
// Established spelling ("desabled"); the box bears the product's name.
inline constexpr char kServiceDisabled[] =
    "Either Messenger Service is desabled from Profile or dependency service is stopped or "
    "desabled in profile";

inline constexpr char kServiceMissing[] = "The Messenger service was not found on this computer.";
inline constexpr char kStartedOutsideWarning[] =
    "The Messenger service was started. Your System is vulnerable to Messenger Spam.";

inline constexpr char kAutoStartDenied[] =
    "The auto-start setting could not be changed: administrator rights are needed to change it.";
// Followed by the platform's error code and ").".
inline constexpr char kAutoStartFailedPrefix[] =
    "The auto-start setting could not be changed (error ";

}  // namespace calvorin::texts
