#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/mouse.h"

namespace calvorin::testkit {

// Records what a real window reports; a handler may be made to fail.
class RecordingEvents final : public platform::FormEvents, public platform::MouseMoveListener {
 public:
  void menuClicked(platform::MenuId menu) override { record("menu:" + std::to_string(menu)); }
  void controlClicked(platform::ControlId control) override {
    record("click:" + std::to_string(control));
  }
  void resized() override { ++resizes; }
  bool closeRequested() override {
    record("closeRequested");
    return allowClose;
  }
  void closed() override { record("closed"); }
  void handlerFailed(const platform::PlatformError& error) override {
    failures.push_back(error.what());
  }
  void OwnerMouseMove(short button, short, float x, float) override {
    mouseMoves.push_back(x);
    buttons.push_back(button);
    record("mouseMove");
  }

  std::vector<std::string> events;
  std::vector<std::string> failures;
  std::vector<float> mouseMoves;
  std::vector<short> buttons;
  int resizes = 0;
  bool allowClose = false;
  std::function<void(const std::string&)> onEvent;

 private:
  void record(const std::string& event) {
    events.push_back(event);
    if (onEvent)
      onEvent(event);
  }
};

}  // namespace calvorin::testkit
