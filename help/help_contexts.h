#pragma once

// The help file's context numbers, the one place they are written: each
// window opens the help file at its own topic on F1. The help build maps
// each number to its topic (help/CMakeLists.txt reads this file) and checks
// the built file's map against it.
namespace calvorin::help {

// Topic "main_window" in help/Calvorin.but.
inline constexpr int kMainWindowContext = 10;
// Topic "about_window".
inline constexpr int kAboutWindowContext = 20;

}  // namespace calvorin::help
