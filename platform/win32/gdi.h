#pragma once

#include <windows.h>

// The GDI functions the program calls, found in gdi32 on their first call
// instead of imported. Under Wine a program's DLLs load in the order of its
// import table, which the linker sorts by name: an import from gdi32 comes
// before ole32 and brings user32, and user32 version.dll, whose address lies
// inside ole32's. ole32 is then relocated, about 0.8 MB of its pages written
// at start-up and kept. Windows' own DLLs do not overlap, so there this only
// costs a look-up.
namespace calvorin::win32::gdi {

HFONT createFont(int height, bool bold, bool italic, bool underline, const char* face);
HBRUSH createSolidBrush(COLORREF color);
void deleteObject(HGDIOBJ object);
int deviceCaps(HDC dc, int index);
void setTextColor(HDC dc, COLORREF color);
void setBkColor(HDC dc, COLORREF color);
void setBkMode(HDC dc, int mode);

}  // namespace calvorin::win32::gdi
