#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/window.h"

namespace calvorin::fakes {

// What every fake window does, over the interface it fakes (a Window, or a
// Form): visibility and state, the one mouse-move listener, and the tray's
// notifications as the real window delivers them.
template <class Interface>
class FakeWindowOf : public Interface {
 public:
  explicit FakeWindowOf(std::uint32_t handle) : handle_(handle) {}

  std::uint32_t handle() const override { return handle_; }
  // A window made anew under the same owner gets another handle.
  void setHandle(std::uint32_t handle) { handle_ = handle; }
  void show() override {
    visible_ = true;
    history.push_back("show");
  }
  void hide() override {
    visible_ = false;
    history.push_back("hide");
  }
  bool visible() const override { return visible_; }
  platform::WindowState windowState() const override { return state_; }
  void setWindowState(platform::WindowState state) override { state_ = state; }
  void bringToFront() override { history.push_back("bringToFront"); }
  void setMouseMoveListener(platform::MouseMoveListener* listener) override {
    listener_ = listener;
  }
  platform::MouseMoveListener* mouseMoveListener() const override { return listener_; }

  // A tray notification: a mouse move at X = code times the screen's twips
  // per pixel.
  void deliverTrayCode(float code, float twipsPerPixel = 15.0f) {
    if (listener_)
      listener_->OwnerMouseMove(0, 0, code * twipsPerPixel, 0.0f);
  }

  std::vector<std::string> history;

 private:
  std::uint32_t handle_;
  bool visible_ = false;
  platform::WindowState state_ = platform::WindowState::Normal;
  platform::MouseMoveListener* listener_ = nullptr;
};

using FakeWindow = FakeWindowOf<platform::Window>;

}  // namespace calvorin::fakes
