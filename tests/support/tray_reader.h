// Reads the notification-area icons of Wine's tray from another process, so that tests can check
// which icons a program shows, with which tooltips, and can click them as a user would.
//
// Wine's explorer.exe keeps one tooltips_class32 window per displayed icon; the tooltip text is
// the icon's tip. The reader asks those windows for their tools, with the buffers placed inside
// explorer. Made for a prefix of the reader's own architecture, as the tests use: explorer and
// the record it keeps per icon are then built like the reader.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/handles.h"

namespace calvorin::testkit {

struct TrayIconInfo {
  // The window and uID given to Shell_NotifyIcon, and its uCallbackMessage. Wine's stand-alone
  // tray (the default, without a virtual desktop) lets the reader recover them; the tray that
  // explorer draws itself (a virtual desktop) does not, and then they are 0.
  HWND owner = nullptr;
  UINT id = 0;
  std::wstring tooltip;
  UINT callbackMessage = 0;
  // The tray's window under the icon and a point of it in client coordinates: mouse messages
  // posted there reach the owner through explorer, as a real click does.
  HWND trayWindow = nullptr;
  POINT trayPoint = {0, 0};
};

// The icons the tray shows now, in the order they were added. Empty when there is no tray window
// yet. Throws std::runtime_error, naming the call that failed, when the tray cannot be read.
std::vector<TrayIconInfo> readTrayIcons();

// The texts of the balloons the tray shows now.
std::vector<std::wstring> readShownBalloons();

// Polls the tray until an icon shows exactly this tooltip; false if none does within timeoutMs.
bool waitForTrayTooltip(const std::wstring& tooltip, int timeoutMs);

// Polls the tray until no icon shows this tooltip; false if one still does after timeoutMs.
bool waitForTrayTooltipGone(const std::wstring& tooltip, int timeoutMs);

// How many icons of this owner window the tray shows now (needs a recoverable owner).
int countTrayIcons(HWND owner);

// How many icons show exactly this tooltip now.
int countTrayIcons(const std::wstring& tooltip);

// Posts mouseMessage (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...) to the tray's window under the icon;
// explorer then notifies the owner just as for a click. Returns at once: the owner gets the
// notification asynchronously. Throws std::runtime_error if the post fails.
void postTrayMouseMessage(const TrayIconInfo& icon, UINT mouseMessage);

// Notifies the owner the way Wine's tray does for an icon of the default (pre-version-4)
// behaviour: SendNotifyMessage(owner, callbackMessage, id, mouseMessage). Throws
// std::runtime_error if the window is gone.
void sendTrayNotification(HWND owner, UINT callbackMessage, UINT id, UINT mouseMessage);

// An icon of the tests' own for as long as it lives. Wine blocks the removal
// of the tray's last icon for about two seconds while it hides the tray, which
// would distort every timing around a remove-and-add of a program's icon.
class KeepAliveIcon {
 public:
  KeepAliveIcon();
  KeepAliveIcon(const KeepAliveIcon&) = delete;
  KeepAliveIcon& operator=(const KeepAliveIcon&) = delete;
  ~KeepAliveIcon();

 private:
  win32::UniqueWindow window_;
  NOTIFYICONDATAA data_{};
};

}  // namespace calvorin::testkit
