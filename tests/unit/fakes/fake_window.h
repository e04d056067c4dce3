#pragma once

#include <cstdint>

#include "platform/window.h"

namespace calvorin::fakes {

class FakeWindow final : public platform::Window {
 public:
  explicit FakeWindow(std::uint32_t handle = 0x10020) : handle_(handle) {}

  std::uint32_t handle() const override { return handle_; }
  void setHandle(std::uint32_t handle) { handle_ = handle; }

  void show() override { visible_ = true; }
  void hide() override { visible_ = false; }
  bool visible() const override { return visible_; }
  platform::WindowState windowState() const override { return state_; }
  void setWindowState(platform::WindowState state) override { state_ = state; }
  void bringToFront() override {}

  void setMouseMoveListener(platform::MouseMoveListener* listener) override {
    listener_ = listener;
  }
  platform::MouseMoveListener* mouseMoveListener() const override { return listener_; }

  // What the window does with a tray notification: a mouse move at X = code
  // times the screen's twips per pixel.
  void deliverTrayCode(float code, float twipsPerPixel = 15.0f) {
    if (listener_)
      listener_->OwnerMouseMove(0, 0, code * twipsPerPixel, 0.0f);
  }

 private:
  std::uint32_t handle_;
  bool visible_ = false;
  platform::WindowState state_ = platform::WindowState::Normal;
  platform::MouseMoveListener* listener_ = nullptr;
};

}  // namespace calvorin::fakes
