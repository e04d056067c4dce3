#pragma once

#include <string>

#include <windows.h>

#include "calvorin_process.h"

namespace calvorin::testkit {

struct MessageBoxSeen {
  HWND window = nullptr;
  std::string title;
  std::string text;
};

// The message box a process shows: a #32770 dialog whose text is the static
// with id 0xFFFF. Polls until one appears.
inline MessageBoxSeen waitForMessageBox(DWORD processId, int timeoutMs) {
  MessageBoxSeen seen;
  waitUntil(
      [&] {
        for (const HWND box : windowsOf(processId, "#32770")) {
          if (!IsWindowVisible(box))
            continue;
          // A box being built may show before its text is in place.
          const std::string text = windowText(GetDlgItem(box, 0xFFFF));
          if (text.empty())
            continue;
          seen.window = box;
          seen.title = windowText(box);
          seen.text = text;
          return true;
        }
        return false;
      },
      timeoutMs);
  return seen;
}

// Answers a message box with its OK button.
inline void answer(const MessageBoxSeen& box) {
  SendMessageTimeoutA(GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

}  // namespace calvorin::testkit
