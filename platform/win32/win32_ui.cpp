#include "platform/win32/win32_ui.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_form.h"

namespace calvorin::win32 {

std::unique_ptr<platform::Form> Win32Ui::createForm(const platform::FormDescription& description,
                                                    platform::FormEvents& events) {
  return std::make_unique<Win32Form>(description, events, *this);
}

void showMessageBox(HWND owner, const std::string& text, const std::string& title,
                    platform::MessageIcon icon) {
  UINT style = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;
  switch (icon) {
    case platform::MessageIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case platform::MessageIcon::Critical:
      style |= MB_ICONERROR;
      break;
    case platform::MessageIcon::Warning:
      style |= MB_ICONWARNING;
      break;
  }
  MessageBoxA(owner, text.c_str(), title.c_str(), style);
}

void Win32Ui::messageBox(const std::string& text, const std::string& title,
                         platform::MessageIcon icon) {
  // Owned by the main window while it is shown, so that it is active again
  // when the box closes; a hidden one would leave the box without a taskbar
  // button.
  const HWND owner = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : nullptr;
  gate_.modalLoopEntered();
  showMessageBox(owner, text, title, icon);
  gate_.modalLoopLeft();
}

Win32Ui::Win32Ui(platform::HelpEngine& helpEngine)
    : helpEngine_(helpEngine),
      twipsPerPixelX_(1440.0f / static_cast<float>(screenDpi(LOGPIXELSX))),
      twipsPerPixelY_(1440.0f / static_cast<float>(screenDpi(LOGPIXELSY))) {}

void Win32Ui::letSessionEndIn() {
  // A wait spins: asking on every pass would only load the system, and ten
  // times a second answers well within Windows' five seconds.
  const DWORD now = GetTickCount();
  if (now - lastSessionCheck_ < 100)
    return;
  lastSessionCheck_ = now;
  // Sent messages only: the session's end comes as one, and the gate holds
  // the rest for after the wait's handler. Windows also counts a thread that
  // peeks as responding.
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void Win32Ui::quit() {
  PostQuitMessage(0);
}

void Win32Ui::formOpened(HWND window) {
  if (openForms_++ == 0)
    mainWindow_ = window;
}

void Win32Ui::formClosed(HWND window) {
  if (window == mainWindow_)
    mainWindow_ = nullptr;
  if (--openForms_ == 0)
    PostQuitMessage(0);
}

int Win32Ui::run() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace calvorin::win32
