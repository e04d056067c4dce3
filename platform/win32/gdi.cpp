#include "platform/win32/gdi.h"

#include <string>

#include "platform/platform_error.h"

namespace calvorin::win32::gdi {

namespace {

struct Functions {
  decltype(&CreateFontA) createFont = nullptr;
  decltype(&CreateSolidBrush) createSolidBrush = nullptr;
  decltype(&DeleteObject) deleteObject = nullptr;
  decltype(&GetDeviceCaps) deviceCaps = nullptr;
  decltype(&SetTextColor) setTextColor = nullptr;
  decltype(&SetBkColor) setBkColor = nullptr;
  decltype(&SetBkMode) setBkMode = nullptr;
};

template <typename Function>
void find(HMODULE gdi32, const char* name, Function& function) {
  const FARPROC found = gdi32 ? GetProcAddress(gdi32, name) : nullptr;
  if (!found)
    throw platform::PlatformError(std::string("Windows has no GDI function ") + name + ".");
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

const Functions& functions() {
  static const Functions found = [] {
    // Loaded already, for user32: this takes a reference the program keeps.
    const HMODULE gdi32 = LoadLibraryA("gdi32.dll");
    Functions functions;
    find(gdi32, "CreateFontA", functions.createFont);
    find(gdi32, "CreateSolidBrush", functions.createSolidBrush);
    find(gdi32, "DeleteObject", functions.deleteObject);
    find(gdi32, "GetDeviceCaps", functions.deviceCaps);
    find(gdi32, "SetTextColor", functions.setTextColor);
    find(gdi32, "SetBkColor", functions.setBkColor);
    find(gdi32, "SetBkMode", functions.setBkMode);
    return functions;
  }();
  return found;
}

}  // namespace

HFONT createFont(int height, bool bold, bool italic, bool underline, const char* face) {
  return functions().createFont(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline,
                                FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HBRUSH createSolidBrush(COLORREF color) {
  return functions().createSolidBrush(color);
}

void deleteObject(HGDIOBJ object) {
  functions().deleteObject(object);
}

int deviceCaps(HDC dc, int index) {
  return functions().deviceCaps(dc, index);
}

void setTextColor(HDC dc, COLORREF color) {
  functions().setTextColor(dc, color);
}

void setBkColor(HDC dc, COLORREF color) {
  functions().setBkColor(dc, color);
}

void setBkMode(HDC dc, int mode) {
  functions().setBkMode(dc, mode);
}

}  // namespace calvorin::win32::gdi
