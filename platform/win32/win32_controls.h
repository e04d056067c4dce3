#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "platform/form.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_pictures.h"

namespace calvorin::win32 {

class Win32Form;

// A brush of one colour; throws when GDI cannot make it.
UniqueBrush solidBrush(COLORREF color);

// A STATIC control with its own font and colours, which the form paints
// through WM_CTLCOLORSTATIC.
class Win32Label final : public platform::Label {
 public:
  Win32Label(HWND label, const platform::LabelDescription& description);

  void setText(const std::string& text) override;
  std::string text() const override { return text_; }
  void setTextColor(platform::Color color) override;
  platform::Color textColor() const override;
  void repaint() override;

  platform::ControlId id() const { return id_; }
  // WM_CTLCOLORSTATIC: the label's colours, or the form's background.
  HBRUSH paintColors(HDC dc, HBRUSH formBrush) const;

 private:
  HWND hwnd_;
  platform::ControlId id_;
  std::string text_;
  std::optional<platform::Color> textColor_;
  std::optional<platform::Color> backColor_;
  UniqueFont font_;
  UniqueBrush backBrush_;
};

// A window of the form's picture class, drawing a picture from the
// program's resources; a clickable one reports clicks.
class Win32PictureBox final : public platform::PictureBox {
 public:
  Win32PictureBox(Win32Form& form, HWND box, const platform::PictureDescription& description)
      : form_(form),
        hwnd_(box),
        id_(description.id),
        resource_(description.resource),
        clickable_(description.clickable) {}

  std::shared_ptr<const platform::Picture> picture() const override;
  void setEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  bool enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }

  Win32Form& form() const { return form_; }
  HWND hwnd() const { return hwnd_; }
  platform::ControlId id() const { return id_; }
  bool clickable() const { return clickable_; }
  // Loaded on first use: decoding the GIFs would cost start-up time for a
  // window that is seldom shown.
  const Win32Picture& image() const;

  // The left button went down on it and has not come up yet.
  bool pressed = false;

 private:
  Win32Form& form_;
  HWND hwnd_;
  platform::ControlId id_;
  std::string resource_;
  mutable std::shared_ptr<const Win32Picture> picture_;
  bool clickable_;
};

// A command entry of a menu, by its command id.
class Win32MenuItem final : public platform::MenuItem {
 public:
  Win32MenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}

  void setEnabled(bool enabled) override {
    EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
  bool enabled() const override {
    const UINT state = GetMenuState(menu_, id_, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
  }

 private:
  HMENU menu_;
  UINT id_;
};

}  // namespace calvorin::win32
