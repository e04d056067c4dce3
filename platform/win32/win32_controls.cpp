#include "platform/win32/win32_controls.h"

#include <cmath>

#include "platform/win32/win32_error.h"

namespace calvorin::win32 {

UniqueBrush solidBrush(COLORREF color) {
  UniqueBrush brush(CreateSolidBrush(color));
  if (!brush)
    throwLastError("Could not create a brush");
  return brush;
}

Win32Label::Win32Label(HWND label, const platform::LabelDescription& description)
    : hwnd_(label),
      id_(description.id),
      textColor_(description.textColor),
      backColor_(description.backColor) {
  const auto& font = description.font;
  const int height = -static_cast<int>(std::lround(font.points * screenDpi(LOGPIXELSY) / 72.0));
  font_.reset(CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                          font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          font.face.c_str()));
  if (!font_)
    throwLastError("Could not create the font " + font.face);
  if (backColor_)
    backBrush_ = solidBrush(toColorref(*backColor_));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  setText(description.caption);
}

void Win32Label::setText(const std::string& text) {
  text_ = text;
  SetWindowTextA(hwnd_, text.c_str());
}

void Win32Label::setTextColor(platform::Color color) {
  textColor_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

platform::Color Win32Label::textColor() const {
  return textColor_.value_or(static_cast<platform::Color>(GetSysColor(COLOR_WINDOWTEXT)));
}

void Win32Label::repaint() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH Win32Label::paintColors(HDC dc, HBRUSH formBrush) const {
  SetTextColor(dc, textColor_ ? toColorref(*textColor_) : GetSysColor(COLOR_WINDOWTEXT));
  if (backBrush_) {
    SetBkColor(dc, toColorref(*backColor_));
    return backBrush_.get();
  }
  SetBkMode(dc, TRANSPARENT);
  return formBrush;
}

std::shared_ptr<const platform::Picture> Win32PictureBox::picture() const {
  image();
  return picture_;
}

const Win32Picture& Win32PictureBox::image() const {
  if (!picture_)
    picture_ = loadPicture(resource_);
  return *picture_;
}

}  // namespace calvorin::win32
