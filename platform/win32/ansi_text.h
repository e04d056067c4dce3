#pragma once

#include <string>

#include <windows.h>

namespace calvorin::win32 {

// COM's UTF-16 text in the program's ANSI code page.
std::string toAnsi(const wchar_t* wide, int length);

}  // namespace calvorin::win32
