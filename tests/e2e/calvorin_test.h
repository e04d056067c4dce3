#pragma once

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "autostart/autostart_commands.h"
#include "calvorin_process.h"
#include "fixture_service.h"
#include "menu_reader.h"
#include "message_boxes.h"
#include "tray_reader.h"

namespace calvorin::testkit {

using autostart::kRunKey;
using autostart::kRunValue;

// Sets or (with nullptr) removes the auto-start entry.
inline void setRegistration(const char* data) {
  HKEY created = nullptr;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunKey, &created) != ERROR_SUCCESS)
    return;
  const win32::UniqueKey key(created);
  if (data) {
    RegSetValueExA(key.get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(std::strlen(data) + 1));
  } else {
    RegDeleteValueA(key.get(), kRunValue);
  }
}

// A value's data under a key below root, as text (REG_SZ without its NUL,
// REG_MULTI_SZ with its NULs), or "(none)" when it cannot be read.
inline std::string registryText(HKEY root, const std::string& key, const char* name,
                                DWORD type = RRF_RT_REG_SZ) {
  char data[4096] = {};
  DWORD length = sizeof data;
  if (RegGetValueA(root, key.c_str(), name, type, nullptr, data, &length) != ERROR_SUCCESS)
    return "(none)";
  return type == RRF_RT_REG_SZ ? std::string(data) : std::string(data, length);
}

// The auto-start entry's data, or "(none)".
inline std::string registration() {
  return registryText(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
}

inline HWND statusLine(HWND mainWindow) {
  return FindWindowExA(mainWindow, nullptr, "STATIC", nullptr);
}

inline HWND pictureButton(HWND mainWindow, int index) {
  HWND picture = nullptr;
  for (int i = 0; i <= index; ++i) {
    picture = FindWindowExA(mainWindow, picture, "CalvorinPicture", nullptr);
  }
  return picture;
}

// The tooltip of the icon a window owns, or "" when it has none.
inline std::wstring ownIcon(HWND window) {
  for (const auto& icon : readTrayIcons()) {
    if (icon.owner == window)
      return icon.tooltip;
  }
  return L"";
}

// A file's whole text, or "" when there is none.
inline std::string fileText(const char* path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Replaces programs in this suite's throwaway prefix by the stub, which
// records each run in C:\stub-calls.log, and starts that log afresh.
inline void stubOut(std::initializer_list<const char*> programs) {
  for (const char* program : programs) {
    ASSERT_TRUE(CopyFileA(builtProgram("stub-program.exe").c_str(), program, FALSE)) << program;
  }
  DeleteFileA("C:\\stub-calls.log");
}

// The stub's record: one "<its path>|<its command line>" line per run.
inline std::string stubCalls() {
  return fileText("C:\\stub-calls.log");
}

// One real Calvorin.exe against the fixture "Messenger" service, with no
// auto-start entry to begin with.
class CalvorinTest : public ::testing::Test {
 protected:
  CalvorinTest() { setRegistration(nullptr); }
  ~CalvorinTest() override { setRegistration(nullptr); }

  void install(const std::string& behaviour = "") {
    // The old one goes first: going, it removes the service of that name.
    messenger_.reset();
    messenger_ = std::make_unique<InstalledMessenger>(behaviour);
  }

  void startService() { ASSERT_TRUE(messenger_ && messenger_->startAndWait()); }

  // Starts the program and waits until its icon is up and start-up is over:
  // the menu probe is answered only from the message loop, which runs once
  // start-up has ended.
  HWND startedHidden(const std::wstring& tooltip,
                     const std::string& programPath = shippedFile("Calvorin.exe")) {
    calvorin_ = std::make_unique<CalvorinProcess>(programPath);
    const HWND window = calvorin_->mainWindow();
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(waitUntil([&] { return ownIcon(window) == tooltip; }, 15000));
    menus.read(window);
    EXPECT_FALSE(IsWindowVisible(window));
    return window;
  }

  // Chooses a menu entry by its caption, as a click on it would.
  void choose(HWND window, const std::string& caption) {
    const auto entries = menus.read(window);
    const auto entry = entries.find(caption);
    ASSERT_NE(entry, entries.end()) << caption;
    PostMessageA(window, WM_COMMAND, entry->second.id, 0);
  }

  // The About window once it is up, or nullptr.
  HWND aboutWindow() {
    HWND about = nullptr;
    const std::string caption = std::string(texts::kAboutCaptionPrefix) + texts::kAppTitle;
    waitUntil([&] { return (about = calvorin_->findOwnWindow(nullptr, caption.c_str())); }, 5000);
    return about;
  }

  // Its link: the second label. A click reaches the window as STN_CLICKED.
  static HWND aboutLink(HWND about) {
    return FindWindowExA(about, FindWindowExA(about, nullptr, "STATIC", nullptr), "STATIC",
                         nullptr);
  }
  static void clickLink(HWND about) {
    const HWND link = aboutLink(about);
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
  }

  // What Wine's tray sends the owner for a double-click on the icon.
  static void doubleClickIcon(HWND window) {
    sendTrayNotification(window, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
  }

  MessageBoxSeen expectMessage(const std::string& text, const std::string& title,
                               int timeoutMs = 10000) {
    const auto box = waitForMessageBox(calvorin_->id(), timeoutMs);
    EXPECT_NE(box.window, nullptr) << "no message box: " << text;
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, title);
    if (box.window)
      answer(box);
    return box;
  }

  CalvorinProcess& calvorin() { return *calvorin_; }

  KeepAliveIcon keepAlive;
  MenuReader menus;

 private:
  std::unique_ptr<InstalledMessenger> messenger_;
  std::unique_ptr<CalvorinProcess> calvorin_;
};

}  // namespace calvorin::testkit
