#include "platform/win32/handler_gate.h"

namespace calvorin::win32 {

void HandlerGate::handlerStarted() {
  handlers_.push_back(modalLoops_);
}

void HandlerGate::handlerEnded() {
  if (!handlers_.empty())
    handlers_.pop_back();
  if (holding() || held_.empty())
    return;
  // Posted, not handled here: the loop that takes them next is the one the
  // ended handler was called from, so they run one at a time, in order.
  std::vector<MSG> held;
  held.swap(held_);
  for (const MSG& message : held)
    PostMessageA(message.hwnd, message.message, message.wParam, message.lParam);
}

bool HandlerGate::holding() const {
  return !handlers_.empty() && modalLoops_ <= handlers_.back();
}

bool HandlerGate::mustHold() const {
  if (!holding())
    return false;
  // Another thread's message is never the handler's own, even during its call.
  return ownCalls_ == 0 || InSendMessage();
}

void HandlerGate::hold(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG held{};
  held.hwnd = window;
  held.message = message;
  held.wParam = wParam;
  held.lParam = lParam;
  held_.push_back(held);
}

}  // namespace calvorin::win32
