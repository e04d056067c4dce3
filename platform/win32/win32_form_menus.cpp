#include "platform/win32/win32_form.h"

#include "platform/platform_error.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_error.h"

namespace calvorin::win32 {

void Win32Form::buildMenu(HMENU parent, const platform::MenuDescription& menu) {
  const auto id = static_cast<UINT>(menu.id);
  if (menu.caption == "-") {
    AppendMenuA(parent, MF_SEPARATOR, id, nullptr);
    return;
  }
  if (menu.items.empty()) {
    AppendMenuA(parent, MF_STRING, id, menu.caption.c_str());
    menuItems_[menu.id] = std::make_unique<Win32MenuItem>(parent, id);
    return;
  }
  // Owned until the parent takes it: a failure part-way leaves no menu behind.
  UniqueMenu sub(CreatePopupMenu());
  if (!sub)
    throwLastError("Could not create the menu " + menu.caption);
  for (const auto& item : menu.items)
    buildMenu(sub.get(), item);
  if (!AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), menu.caption.c_str()))
    throwLastError("Could not add the menu " + menu.caption);
  subMenus_[menu.id] = sub.release();
}

void Win32Form::popUpMenu(platform::MenuId menu) {
  const auto found = subMenus_.find(menu);
  if (found == subMenus_.end())
    throw platform::PlatformError("The window has no menu " + std::to_string(menu));
  POINT pointer{};
  GetCursorPos(&pointer);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere.
  SetForegroundWindow(hwnd_);
  const auto command = static_cast<platform::MenuId>(
      TrackPopupMenu(found->second, TPM_RETURNCMD, pointer.x, pointer.y, 0, hwnd_, nullptr));
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  // The chosen command runs before the pop-up returns.
  if (events_ && menuItems_.count(command) != 0)
    events_->menuClicked(command);
}

}  // namespace calvorin::win32
