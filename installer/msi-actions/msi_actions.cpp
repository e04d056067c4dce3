// The custom actions of Calvorin's Windows Installer package: a DLL that the
// package carries in its Binary table, and that Windows Installer calls with
// the session's handle. Each reports success whatever it finds, so that
// neither can fail an install or a removal.
#include <windows.h>
#include <msi.h>

#include <cstring>
#include <iterator>
#include <utility>

#include "autostart/autostart_commands.h"
#include "platform/win32/handles.h"
#include "resources/identity.h"
#include "resources/texts.h"

namespace {

using calvorin::autostart::kRunKey;
using calvorin::autostart::kRunValue;
using calvorin::identity::kFormClass;
using calvorin::texts::kAboutCaptionPrefix;
using calvorin::texts::kAppTitle;
using calvorin::win32::UniqueHandle;
using calvorin::win32::UniqueKey;

// A program in a start command's wait (a minute) takes its close requests
// only once the wait is over.
constexpr DWORD kEndTimeoutMs = 75000;

// The processes of the running programs found, each once, owned here and
// listed beside for WaitForMultipleObjects.
struct Programs {
  UniqueHandle owned[MAXIMUM_WAIT_OBJECTS];
  HANDLE processes[MAXIMUM_WAIT_OBJECTS];
  DWORD ids[MAXIMUM_WAIT_OBJECTS];
  DWORD count = 0;

  void add(DWORD id) {
    for (DWORD i = 0; i < count; ++i) {
      if (ids[i] == id)
        return;
    }
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
    if (process && count < std::size(processes)) {
      processes[count] = process.get();
      owned[count] = std::move(process);
      ids[count++] = id;
    }
  }
};

// Whether the window's caption is the program's title, after a prefix.
bool hasCaption(HWND window, const char* prefix) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  const std::size_t length = std::strlen(prefix);
  return std::strncmp(text, prefix, length) == 0 && std::strcmp(text + length, kAppTitle) == 0;
}

// The program's first close request only hides its main window in the
// tray, the second ends it, as its own Exit does; an About window keeps the
// process alive until it closes too.
BOOL CALLBACK askToClose(HWND window, LPARAM context) {
  char windowClass[32] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (lstrcmpA(windowClass, kFormClass) != 0)
    return TRUE;
  const bool main = hasCaption(window, "");
  if (!main && !hasCaption(window, kAboutCaptionPrefix))
    return TRUE;
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  reinterpret_cast<Programs*>(context)->add(id);
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (main)
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

// Ends every running Calvorin before its files are replaced or removed. One
// that does not end in time (a box left open, say) is ended by force: a
// silent removal has nobody to ask, and must not leave the files behind.
extern "C" __declspec(dllexport) UINT __stdcall CloseCalvorin(MSIHANDLE) {
  Programs running;
  EnumWindows(askToClose, reinterpret_cast<LPARAM>(&running));
  if (running.count == 0)
    return ERROR_SUCCESS;
  if (WaitForMultipleObjects(running.count, running.processes, TRUE, kEndTimeoutMs) ==
      WAIT_TIMEOUT) {
    for (DWORD i = 0; i < running.count; ++i)
      TerminateProcess(running.processes[i], 1);
    WaitForMultipleObjects(running.count, running.processes, TRUE, 5000);
  }
  return ERROR_SUCCESS;
}

// Deletes the auto-start value, whoever wrote it: the package, or the
// program's "Enable Auto StartUp".
extern "C" __declspec(dllexport) UINT __stdcall RemoveAutoStart(MSIHANDLE) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
    const UniqueKey key(opened);
    RegDeleteValueA(key.get(), kRunValue);
  }
  return ERROR_SUCCESS;
}
