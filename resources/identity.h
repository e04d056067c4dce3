#pragma once

// The names by which a running Calvorin is found from outside: by a second
// start of it, by the installers' actions (installer/msi-actions) before
// they replace or remove its files, and by the tests. Written once, here,
// and the captions in texts.h.
namespace calvorin::identity {

// The window class of every form of the program; the main window's caption
// is texts::kAppTitle, the About window's texts::kAboutCaptionPrefix before it.
inline constexpr char kFormClass[] = "CalvorinForm";

// Held by the first instance in a log-on session: "Local\" gives each user
// of a Terminal Server or of fast user switching their own.
inline constexpr char kInstanceMutex[] = "Local\\Calvorin.SessionInstance";

// What a second start posts to the first instance's main window.
inline constexpr char kActivationMessage[] = "Calvorin.ActivationRequested";

}  // namespace calvorin::identity
