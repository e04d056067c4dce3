#pragma once

#include <string>

#include <windows.h>

namespace calvorin::win32 {

// Conversions between the program's texts (ANSI code page) and COM's UTF-16.
std::wstring toWide(const std::string& ansi);
std::string toAnsi(const wchar_t* wide, int length);

}  // namespace calvorin::win32
