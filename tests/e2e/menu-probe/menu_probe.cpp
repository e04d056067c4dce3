// A test-only DLL that a driver hooks into the program's user-interface
// thread (WH_GETMESSAGE) to read its menus from inside: Wine refuses to
// read another process's menu states. Never part of the product.
#include <string>

#include <windows.h>

namespace {

// One line per entry, depth first: "<id>|<G if grayed>|<caption>", with
// sub-menus as "<indent>" lines before their entries.
void describeMenu(HMENU menu, int depth, std::string& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char caption[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = sizeof caption;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
      continue;
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    out += std::to_string(depth) + "|" + std::to_string(info.wID) + "|" +
           ((info.fState & MFS_GRAYED) ? "G" : "E") + "|" + (separator ? "-" : caption) + "\n";
    if (info.hSubMenu)
      describeMenu(info.hSubMenu, depth + 1, out);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    menuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT query = RegisterWindowMessageA("CalvorinMenuProbeQuery");
  auto* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == query) {
    std::string text;
    describeMenu(GetMenu(message->hwnd), 0, text);
    COPYDATASTRUCT data{};
    data.dwData = query;
    data.cbData = static_cast<DWORD>(text.size() + 1);
    data.lpData = text.data();
    SendMessageA(reinterpret_cast<HWND>(message->lParam), WM_COPYDATA,
                 reinterpret_cast<WPARAM>(message->hwnd), reinterpret_cast<LPARAM>(&data));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
