#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/mouse.h"
#include "platform/picture.h"

namespace calvorin::platform {

// Colours are 0x00BBGGRR: red in the low byte.
using Color = std::uint32_t;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// A one-line text label.
class Label {
 public:
  virtual ~Label() = default;
  virtual void setText(const std::string& text) = 0;
  virtual std::string text() const = 0;
  virtual void setTextColor(Color color) = 0;
  virtual Color textColor() const = 0;
  // Paints the label now, without waiting for the message loop.
  virtual void repaint() = 0;
};

// A picture control; a disabled one keeps its picture and ignores clicks.
class PictureBox {
 public:
  virtual ~PictureBox() = default;
  virtual std::shared_ptr<const Picture> picture() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

// A top-level window built from a form description.
class Window {
 public:
  virtual ~Window() = default;

  // The 32-bit window handle.
  virtual std::uint32_t handle() const = 0;

  virtual void show() = 0;
  virtual void hide() = 0;
  virtual bool visible() const = 0;
  virtual WindowState windowState() const = 0;
  virtual void setWindowState(WindowState state) = 0;
  // Makes the window the one the user works with, in front of the others.
  virtual void bringToFront() = 0;

  // The one receiver of this window's mouse-move reports; nullptr for none.
  virtual void setMouseMoveListener(MouseMoveListener* listener) = 0;
  virtual MouseMoveListener* mouseMoveListener() const = 0;
};

}  // namespace calvorin::platform
