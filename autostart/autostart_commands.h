#pragma once

#include <string>

#include "autostart/reg.h"
#include "resources/texts.h"

namespace calvorin::autostart {

inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The product's name names the value. Not inline: each file's pointer is to
// that file's own copy of the text (texts.h says why there are copies).
constexpr const char* kRunValue = texts::kProductName;

// The command stored for start at logon: the program's folder and the fixed
// file name, joined as they are, in quotes. Windows runs the entry as a
// command line, and an unquoted path with a blank would make it try
// "C:\Program.exe" first, a file any user may create on Windows 2000.
std::string autoStartPath(const std::string& applicationPath);

// Whether the registry holds the auto-start entry: any data but the text
// "Not Found", in any letter case, counts.
bool isRegistered(Reg& reg);

// What the user is told when the entry could not be changed.
std::string autoStartFailureText(long error);

}  // namespace calvorin::autostart
