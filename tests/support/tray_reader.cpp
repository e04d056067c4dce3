#include "tray_reader.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include <commctrl.h>

#include "platform/win32/handles.h"
#include "platform/win32/hresult_text.h"

namespace calvorin::testkit {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollIntervalMs = 50;
// One page inside explorer: the tool record first, the text buffer after it. Explorer keeps
// tips of at most 128 characters and comctl32 copies the text without a bound, so the buffer is
// far larger than any tip.
constexpr SIZE_T kRemoteSize = 4096;
constexpr SIZE_T kRemoteTextOffset = 256;
constexpr SIZE_T kRemoteTextChars = (kRemoteSize - kRemoteTextOffset) / sizeof(WCHAR);

[[noreturn]] void throwError(const std::string& what, DWORD error) {
  throw std::runtime_error(win32::win32FailureMessage("tray reader: " + what + " failed", error));
}

[[noreturn]] void throwLastError(const std::string& what) {
  throwError(what, GetLastError());
}

using ProcessHandle = win32::UniqueHandle;

// Memory committed inside another process, released with it.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    if (!address_)
      throwLastError("VirtualAllocEx in explorer");
  }
  ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }

  void write(SIZE_T offset, const void* data, SIZE_T size) const {
    if (!WriteProcessMemory(process_, at(offset), data, size, nullptr))
      throwLastError("WriteProcessMemory into explorer");
  }
  void read(SIZE_T offset, void* data, SIZE_T size) const {
    if (!ReadProcessMemory(process_, at(offset), data, size, nullptr))
      throwLastError("ReadProcessMemory from explorer");
  }

 private:
  HANDLE process_;
  void* address_;
};

// The record that Wine keeps for each icon of its stand-alone tray (struct tray_icon in
// winex11.drv, struct icon in later explorers): its first fields are laid out alike in both.
// The icon window's GWLP_USERDATA points at it; it is the only place that holds the owner.
struct WineIconRecord {
  void* listNext;
  void* listPrev;
  HICON image;
  HWND owner;
  HWND window;
  BOOL layered;
  HWND tooltip;
  UINT state;
  UINT id;
  UINT callbackMessage;
  int display;
  WCHAR tiptext[128];
};

struct Tool {
  TTTOOLINFOW info;
  std::wstring text;
};

struct FoundIcon {
  TrayIconInfo info;
  LONG orderKey;
};

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

bool isTrayIconWindow(HWND window) {
  std::wstring name = className(window);
  // The first is Wine 8's stand-alone tray (winex11.drv); the second, later explorers.
  return name == L"__winex11_tray_icon" || name == L"__wine_tray_icon";
}

struct ToolTipSearch {
  DWORD processId;
  std::vector<HWND> windows;
  bool balloons = false;
};

BOOL CALLBACK collectToolTip(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ToolTipSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  // A balloon is a tooltips window too, but its text is the balloon's, not the icon's tip.
  const bool balloon = (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) != 0;
  if (processId == search->processId && className(window) == TOOLTIPS_CLASSW &&
      balloon == search->balloons && (!balloon || IsWindowVisible(window)))
    search->windows.push_back(window);
  return TRUE;
}

bool sendToExplorer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             result) != 0;
}

// The tools of one tooltips window; empty if the window went away meanwhile (an icon deleted).
std::vector<Tool> readTools(HWND toolTip, const RemoteBuffer& remote) {
  std::vector<Tool> tools;
  DWORD_PTR count = 0;
  if (!sendToExplorer(toolTip, TTM_GETTOOLCOUNT, 0, 0, &count)) {
    DWORD error = GetLastError();
    if (!IsWindow(toolTip))
      return tools;
    throwError("TTM_GETTOOLCOUNT to explorer's tooltip window", error);
  }
  auto* remoteText = reinterpret_cast<wchar_t*>(remote.at(kRemoteTextOffset));
  for (DWORD_PTR index = 0; index < count; ++index) {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszText = remoteText;
    const wchar_t empty = 0;
    remote.write(0, &info, sizeof(info));
    remote.write(kRemoteTextOffset, &empty, sizeof(empty));
    DWORD_PTR found = 0;
    if (!sendToExplorer(toolTip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remote.at(0)),
                        &found)) {
      DWORD error = GetLastError();
      if (!IsWindow(toolTip))
        return {};
      throwError("TTM_ENUMTOOLSW to explorer's tooltip window", error);
    }
    if (!found)
      continue;
    Tool tool;
    remote.read(0, &tool.info, sizeof(tool.info));
    // A tool without text of its own (none, a resource or a callback) leaves no copy behind.
    if (tool.info.lpszText == remoteText) {
      std::vector<wchar_t> text(kRemoteTextChars);
      remote.read(kRemoteTextOffset, text.data(), text.size() * sizeof(wchar_t));
      text.back() = 0;
      tool.text = text.data();
    }
    tools.push_back(std::move(tool));
  }
  return tools;
}

// Fills owner, id and callback message from Wine's record behind the icon window, only when the
// record agrees with what the tooltip said (its window, its tooltip and its tip).
void recoverOwner(HANDLE process, HWND iconWindow, HWND toolTip, TrayIconInfo& icon) {
  auto address = GetWindowLongPtrW(iconWindow, GWLP_USERDATA);
  if (!address)
    return;
  WineIconRecord record = {};
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(address), &record, sizeof(record),
                         nullptr))
    return;
  record.tiptext[std::size(record.tiptext) - 1] = 0;
  if (record.window != iconWindow || record.tooltip != toolTip || icon.tooltip != record.tiptext)
    return;
  icon.owner = record.owner;
  icon.id = record.id;
  icon.callbackMessage = record.callbackMessage;
}

}  // namespace

std::vector<TrayIconInfo> readTrayIcons() {
  std::vector<TrayIconInfo> icons;
  HWND shellTray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!shellTray)
    return icons;
  ToolTipSearch search{0, {}};
  if (!GetWindowThreadProcessId(shellTray, &search.processId))
    return icons;  // the tray window went away since FindWindow
  ProcessHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                    FALSE, search.processId));
  if (!process)
    throwLastError("OpenProcess of explorer (pid " + std::to_string(search.processId) + ")");
  EnumWindows(collectToolTip, reinterpret_cast<LPARAM>(&search));
  if (search.windows.empty())
    return icons;

  RemoteBuffer remote(process.get(), kRemoteSize);
  std::vector<FoundIcon> found;
  for (HWND toolTip : search.windows) {
    for (const Tool& tool : readTools(toolTip, remote)) {
      FoundIcon icon{};
      icon.info.tooltip = tool.text;
      if (tool.info.uFlags & TTF_IDISHWND) {
        // Stand-alone tray: one small window per icon, the tool is that window.
        auto iconWindow = reinterpret_cast<HWND>(tool.info.uId);
        RECT client = {}, screen = {};
        if (!isTrayIconWindow(iconWindow) || !GetClientRect(iconWindow, &client) ||
            !GetWindowRect(iconWindow, &screen))
          continue;
        icon.info.trayWindow = iconWindow;
        icon.info.trayPoint = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
        icon.orderKey = screen.left;  // placed left to right as added
        recoverOwner(process.get(), iconWindow, toolTip, icon.info);
      } else if (tool.info.hwnd == shellTray) {
        // Explorer's own tray draws every icon in its window, the tool is the icon's rectangle.
        // Explorer never destroys the tooltip of a deleted icon, it only empties the rectangle.
        const RECT& rect = tool.info.rect;
        if (IsRectEmpty(&rect))
          continue;
        icon.info.trayWindow = shellTray;
        icon.info.trayPoint = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        icon.orderKey = -rect.left;  // placed right to left as added
      } else {
        continue;
      }
      found.push_back(std::move(icon));
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const FoundIcon& a, const FoundIcon& b) { return a.orderKey < b.orderKey; });
  for (FoundIcon& icon : found)
    icons.push_back(std::move(icon.info));
  return icons;
}

bool waitForTrayTooltip(const std::wstring& tooltip, int timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    if (countTrayIcons(tooltip) > 0)
      return true;
    if (GetTickCount64() >= deadline)
      return false;
    Sleep(kPollIntervalMs);
  }
}

bool waitForTrayTooltipGone(const std::wstring& tooltip, int timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    if (countTrayIcons(tooltip) == 0)
      return true;
    if (GetTickCount64() >= deadline)
      return false;
    Sleep(kPollIntervalMs);
  }
}

int countTrayIcons(HWND owner) {
  auto icons = readTrayIcons();
  return static_cast<int>(std::count_if(icons.begin(), icons.end(), [owner](const auto& icon) {
    return icon.owner && icon.owner == owner;
  }));
}

int countTrayIcons(const std::wstring& tooltip) {
  auto icons = readTrayIcons();
  return static_cast<int>(std::count_if(icons.begin(), icons.end(), [&tooltip](const auto& icon) {
    return icon.tooltip == tooltip;
  }));
}

void postTrayMouseMessage(const TrayIconInfo& icon, UINT mouseMessage) {
  WPARAM keys = 0;
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      keys = MK_LBUTTON;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      keys = MK_RBUTTON;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      keys = MK_MBUTTON;
      break;
    default:
      break;
  }
  if (!icon.trayWindow)
    throw std::runtime_error("tray reader: the icon has no tray window to post to");
  LPARAM point = MAKELPARAM(icon.trayPoint.x, icon.trayPoint.y);
  if (!PostMessageW(icon.trayWindow, mouseMessage, keys, point))
    throwLastError("PostMessage to the tray icon's window");
}

void sendTrayNotification(HWND owner, UINT callbackMessage, UINT id, UINT mouseMessage) {
  if (!SendNotifyMessageW(owner, callbackMessage, id, mouseMessage))
    throwLastError("SendNotifyMessage to the icon's owner");
}

std::vector<std::wstring> readShownBalloons() {
  std::vector<std::wstring> texts;
  HWND shellTray = FindWindowW(L"Shell_TrayWnd", nullptr);
  ToolTipSearch search{0, {}, true};
  if (!shellTray || !GetWindowThreadProcessId(shellTray, &search.processId))
    return texts;
  ProcessHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                    FALSE, search.processId));
  if (!process)
    throwLastError("OpenProcess of explorer");
  EnumWindows(collectToolTip, reinterpret_cast<LPARAM>(&search));
  if (search.windows.empty())
    return texts;
  RemoteBuffer remote(process.get(), kRemoteSize);
  for (HWND balloon : search.windows) {
    for (const Tool& tool : readTools(balloon, remote))
      texts.push_back(tool.text);
  }
  return texts;
}

KeepAliveIcon::KeepAliveIcon() {
  // Message-only: no top-level window of the tests that the end of a
  // session would ask, and then end.
  window_.reset(CreateWindowA("STATIC", "keep-alive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr));
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = window_.get();
  data_.uID = 7;
  data_.uFlags = NIF_ICON | NIF_TIP;
  data_.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
  std::strcpy(data_.szTip, "test keep-alive");
  Shell_NotifyIconA(NIM_ADD, &data_);
}

KeepAliveIcon::~KeepAliveIcon() {
  Shell_NotifyIconA(NIM_DELETE, &data_);
}

}  // namespace calvorin::testkit
