#pragma once

// The help file's context numbers, the one place they are written: each
// window opens the help file at its own topic on F1. help/CMakeLists.txt
// reads the lines below (number, then the topic's \cfg{winhelp-topic} name
// in help/Calvorin.but) to map the built file, and checks its map.
namespace calvorin::help {

inline constexpr int kMainWindowContext = 10;   // topic main_window
inline constexpr int kAboutWindowContext = 20;  // topic about_window

}  // namespace calvorin::help
