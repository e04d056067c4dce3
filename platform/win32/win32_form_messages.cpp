#include "platform/win32/win32_form.h"

#include <utility>

#include "platform/help_engine.h"
#include "platform/platform_error.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_ui.h"

namespace calvorin::win32 {

namespace {

// Explorer broadcasts it when it has made the notification area anew.
bool isTaskbarCreated(UINT message) {
  static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  return taskbarCreated != 0 && message == taskbarCreated;
}

bool isActivationRequest(UINT message) {
  const UINT activation = Win32Form::activationMessage();
  return activation != 0 && message == activation;
}

// The messages a form turns into events for its owner; the session's end,
// painting and the window's own upkeep are not among them.
bool carriesEvent(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_SIZE:
    case WM_CLOSE:
    case WM_HELP:
      return true;
    default:
      return isTaskbarCreated(message) || isActivationRequest(message);
  }
}

}  // namespace

template <class Handler>
void Win32Form::dispatch(Handler&& handler) noexcept {
  if (!events_)
    return;
  platform::FormEvents& events = *events_;
  HandlerGate& gate = ui_.gate();
  gate.handlerStarted();
  try {
    try {
      handler();
    } catch (const platform::PlatformError&) {
      throw;
    } catch (const std::exception& error) {
      throw platform::PlatformError(error.what());
    } catch (...) {
      throw platform::PlatformError("The command ended with an unknown failure.");
    }
  } catch (const platform::PlatformError& error) {
    try {
      events.handlerFailed(error);
    } catch (...) {
      // Presenting the failure failed too; nothing is left to tell it with.
    }
  } catch (...) {
    // Not even the failure could be made (no memory left): no exception may
    // cross the window procedure.
  }
  gate.handlerEnded();
}

LRESULT CALLBACK Win32Form::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  if (message == WM_NCCREATE && creating_ && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == 0) {
    Win32Form* form = std::exchange(creating_, nullptr);
    form->hwnd_ = hwnd;
    form->window_.reset(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->ui_.formOpened(hwnd);
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form)
    return DefWindowProcA(hwnd, message, wParam, lParam);
  if (carriesEvent(message) && form->ui_.gate().mustHold()) {
    form->ui_.gate().hold(hwnd, message, wParam, lParam);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    form->window_.release();  // Windows has destroyed it
    form->ui_.formClosed(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return form->handleMessage(message, wParam, lParam);
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (isTaskbarCreated(message))
    return onTaskbarCreated();
  if (isActivationRequest(message))
    return onActivationRequested();
  switch (message) {
    case WM_ENTERMENULOOP:
      ui_.gate().modalLoopEntered();
      break;
    case WM_EXITMENULOOP:
      ui_.gate().modalLoopLeft();
      break;
    case WM_ERASEBKGND:
      return onEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
      return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      return onCommand(wParam, lParam);
    case WM_MOUSEMOVE:
      return onMouseMove(wParam, lParam);
    case WM_TIMER:
      return onTimer(wParam);
    case WM_SIZE:
      return onSize();
    case WM_QUERYENDSESSION:
      // Agreed at once and without a question: nothing here is worth keeping
      // a log-off waiting.
      return TRUE;
    case WM_ENDSESSION:
      return onEndSession(wParam != FALSE);
    case WM_CLOSE:
      return onClose();
    case WM_HELP:
      return onHelp();
    case WM_DESTROY:
      return onDestroy();
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT Win32Form::onEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, backBrush_.get());
  return 1;
}

LRESULT Win32Form::onCtlColorStatic(HDC dc, HWND control) {
  const auto found = labelsByWindow_.find(control);
  if (found == labelsByWindow_.end())
    return DefWindowProcA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
  return reinterpret_cast<LRESULT>(found->second->paintColors(dc, backBrush_.get()));
}

LRESULT Win32Form::onCommand(WPARAM wParam, LPARAM lParam) {
  const auto id = static_cast<int>(LOWORD(wParam));
  if (lParam != 0) {
    // A control's notification: a click on a clickable label.
    const auto label = labelsByWindow_.find(reinterpret_cast<HWND>(lParam));
    if (HIWORD(wParam) == STN_CLICKED && label != labelsByWindow_.end()) {
      const platform::ControlId clicked = label->second->id();
      dispatch([&] { events_->controlClicked(clicked); });
      return 0;
    }
    return DefWindowProcA(hwnd_, WM_COMMAND, wParam, lParam);
  }
  // A menu command (an accelerator's would carry 1).
  if (HIWORD(wParam) != 0)
    return DefWindowProcA(hwnd_, WM_COMMAND, wParam, lParam);
  if (menuItems_.count(id) != 0)
    dispatch([&] { events_->menuClicked(id); });
  return 0;
}

LRESULT Win32Form::onMouseMove(WPARAM keys, LPARAM position) {
  if (!listener_)
    return 0;
  // Each tray notification arrives as a mouse move whose X is its code.
  const float x = static_cast<short>(LOWORD(position)) * ui_.twipsPerPixelX();
  const float y = static_cast<short>(HIWORD(position)) * ui_.twipsPerPixelY();
  short button = 0;
  if (keys & MK_LBUTTON)
    button |= 1;
  if (keys & MK_RBUTTON)
    button |= 2;
  if (keys & MK_MBUTTON)
    button |= 4;
  short shift = 0;
  if (keys & MK_SHIFT)
    shift |= 1;
  if (keys & MK_CONTROL)
    shift |= 2;
  if (GetKeyState(VK_MENU) < 0)
    shift |= 4;
  dispatch([&] { listener_->OwnerMouseMove(button, shift, x, y); });
  return 0;
}

LRESULT Win32Form::onTimer(WPARAM timer) {
  const auto id = static_cast<platform::TimerId>(timer);
  if (timers_.count(id) != 0)
    dispatch([&] { events_->timerElapsed(id); });
  return 0;
}

LRESULT Win32Form::onSize() {
  dispatch([&] { events_->resized(); });
  return 0;
}

LRESULT Win32Form::onClose() {
  bool allow = false;
  dispatch([&] { allow = events_->closeRequested(); });
  if (allow)
    window_.reset();
  return 0;
}

LRESULT Win32Form::onHelp() {
  // F1: the application's help file at this form's topic.
  if (helpContextId_ != 0 && !ui_.helpFile().empty()) {
    ui_.helpEngine().winHelp(handle(), ui_.helpFile(), platform::kHelpContext,
                             static_cast<std::uintptr_t>(helpContextId_));
  }
  return TRUE;
}

LRESULT Win32Form::onEndSession(bool ending) {
  if (ending)
    dispatch([&] { events_->sessionEnded(); });
  return 0;
}

LRESULT Win32Form::onDestroy() {
  dispatch([&] { events_->closed(); });
  return 0;
}

LRESULT Win32Form::onTaskbarCreated() {
  dispatch([&] { events_->notificationAreaCreated(); });
  return 0;
}

LRESULT Win32Form::onActivationRequested() {
  dispatch([&] { events_->activationRequested(); });
  return 0;
}

void Win32Form::onPictureMouse(Win32PictureBox& box, UINT message, LPARAM position) {
  // A click is a press and a release over the same enabled picture, as a
  // button's. Enabled is asked again: a held press comes back posted, and a
  // posted message reaches a disabled window too.
  switch (message) {
    case WM_LBUTTONDOWN:
      box.pressed = true;
      SetCapture(box.hwnd());
      return;
    case WM_LBUTTONUP: {
      const bool pressed = box.pressed;
      box.pressed = false;
      if (GetCapture() == box.hwnd())
        ReleaseCapture();
      RECT client{};
      GetClientRect(box.hwnd(), &client);
      const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      if (pressed && box.clickable() && box.enabled() && PtInRect(&client, at)) {
        const platform::ControlId clicked = box.id();
        dispatch([&] { events_->controlClicked(clicked); });
      }
      return;
    }
    default:  // the second press of a double-click
      box.pressed = false;
      return;
  }
}

LRESULT CALLBACK Win32Form::pictureProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  auto* box = reinterpret_cast<Win32PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!box)
    return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const PaintDc dc(hwnd);
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(dc.get(), &client, box->form().backBrush());
      try {
        box->image().draw(dc.get(), 0, 0);
      } catch (const platform::PlatformError&) {
        // A picture that cannot be loaded leaves its place empty.
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      if (box->form().ui_.gate().mustHold()) {
        box->form().ui_.gate().hold(hwnd, message, wParam, lParam);
        return 0;
      }
      box->form().onPictureMouse(*box, message, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      // A box or menu took the mouse: the press came to nothing.
      box->pressed = false;
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace calvorin::win32
