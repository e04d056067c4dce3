#pragma once

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include <windows.h>

#include "platform/win32/handles.h"
#include "processes.h"

namespace calvorin::testkit {

struct MenuEntry {
  UINT id = 0;
  bool enabled = false;
  std::string caption;
};

// Reads a window's menus from inside its process through the menu-probe
// DLL, keyed by caption ("&Start", "Refresh", ...).
class MenuReader {
 public:
  MenuReader() {
    probe_.reset(LoadLibraryA("menu-probe.dll"));
    if (!probe_)
      throw std::runtime_error("menu-probe.dll is not beside the tests");
    // mingw decorates the stdcall export; MSVC with a .def file would not.
    FARPROC found = GetProcAddress(probe_.get(), "menuProbeHook@12");
    if (!found)
      found = GetProcAddress(probe_.get(), "menuProbeHook");
    hook_ = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &MenuReader::receive;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CalvorinMenuReader";
    RegisterClassA(&windowClass);
    receiver_.reset(CreateWindowA("CalvorinMenuReader", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
  }

  std::map<std::string, MenuEntry> read(HWND window) {
    // A program started anew in the same test has another thread.
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!hookHandle_ || thread != hookedThread_) {
      hookHandle_.reset(SetWindowsHookExA(WH_GETMESSAGE, hook_, probe_.get(), thread));
      hookedThread_ = thread;
      if (!hookHandle_)
        throw std::runtime_error("cannot hook the program's thread");
    }
    reply().clear();
    PostMessageA(window, RegisterWindowMessageA("CalvorinMenuProbeQuery"), 0,
                 reinterpret_cast<LPARAM>(receiver_.get()));
    if (!waitUntil([] { return !reply().empty(); }, 10000, Pump::Messages))
      throw std::runtime_error("the program did not answer the menu probe");
    std::map<std::string, MenuEntry> entries;
    std::istringstream lines(reply());
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string depth, id, state, caption;
      std::getline(fields, depth, '|');
      std::getline(fields, id, '|');
      std::getline(fields, state, '|');
      std::getline(fields, caption);
      if (caption != "-")
        entries[caption] = {static_cast<UINT>(std::stoul(id)), state == "E", caption};
    }
    return entries;
  }

 private:
  static std::string& reply() {
    static std::string text;
    return text;
  }
  static LRESULT CALLBACK receive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      reply().assign(static_cast<const char*>(data->lpData));
      return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  // Declared in the order they are needed, so that they go in reverse: the
  // hook's DLL outlives the hook.
  win32::UniqueLibrary probe_;
  HOOKPROC hook_ = nullptr;
  win32::UniqueHook hookHandle_;
  DWORD hookedThread_ = 0;
  win32::UniqueWindow receiver_;
};

}  // namespace calvorin::testkit
