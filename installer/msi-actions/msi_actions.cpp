// The installers' actions, in one DLL so that the two installers cannot
// drift apart. The Windows Installer package carries it in its Binary table
// and calls it with the session's handle; the setup program and its
// uninstaller unpack it and call EndRunningCopies. Each action reports
// success whatever it finds, so that none can fail an install or a removal.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
using calvorin::win32::UniqueSnapshot;

// A program in a start command's wait (a minute) takes its close requests
// only once the wait is over.
constexpr DWORD kEndTimeoutMs = 75000;

// A running copy of the program: its process, whether it runs in this
// log-on session, and whether it was asked to close.
struct Copy {
  DWORD id;
  UniqueHandle process;
  bool here = false;
  bool asked = false;
};

// The path as Windows keeps it, long names throughout: a copy started by a
// short name (PROGRA~1) is the same file.
std::string longPath(const char* path) {
  char full[MAX_PATH] = {};
  const DWORD length = GetLongPathNameA(path, full, sizeof full);
  return length > 0 && length < sizeof full ? full : path;
}

// Administrators may open other users' processes, in other log-on sessions
// too, only with the debug privilege enabled; it is held until the owner
// goes, then put back as it was.
class DebugPrivilege {
 public:
  DebugPrivilege() {
    HANDLE opened = nullptr;
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened))
      return;
    token_.reset(opened);
    DWORD length = sizeof previous_;
    if (LookupPrivilegeValueA(nullptr, SE_DEBUG_NAME, &wanted.Privileges[0].Luid) &&
        AdjustTokenPrivileges(token_.get(), FALSE, &wanted, sizeof previous_, &previous_,
                              &length) &&
        GetLastError() == ERROR_SUCCESS) {
      adjusted_ = true;
    }
  }
  DebugPrivilege(const DebugPrivilege&) = delete;
  DebugPrivilege& operator=(const DebugPrivilege&) = delete;
  ~DebugPrivilege() {
    if (adjusted_)
      AdjustTokenPrivileges(token_.get(), FALSE, &previous_, 0, nullptr, nullptr);
  }

 private:
  UniqueHandle token_;
  TOKEN_PRIVILEGES previous_{};
  bool adjusted_ = false;
};

// Every process, in any log-on session, whose image is the program at that
// path: not a copy elsewhere (a portable one), nor another program.
std::vector<Copy> runningCopies(const std::string& program) {
  std::vector<Copy> copies;
  const UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot)
    return copies;
  DWORD ownSession = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &ownSession);
  const char* name = std::strrchr(program.c_str(), '\\');
  name = name ? name + 1 : program.c_str();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (lstrcmpiA(entry.szExeFile, name) != 0)
      continue;
    UniqueHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ,
                    FALSE, entry.th32ProcessID));
    char image[MAX_PATH] = {};
    if (process && GetModuleFileNameExA(process.get(), nullptr, image, sizeof image) > 0 &&
        lstrcmpiA(longPath(image).c_str(), program.c_str()) == 0) {
      DWORD session = 0;
      const bool here =
          ProcessIdToSessionId(entry.th32ProcessID, &session) && session == ownSession;
      copies.push_back(Copy{entry.th32ProcessID, std::move(process), here});
    }
  }
  return copies;
}

// Whether the window's caption is the program's title, after a prefix.
bool hasCaption(HWND window, const char* prefix) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  const std::size_t length = std::strlen(prefix);
  return std::strncmp(text, prefix, length) == 0 && std::strcmp(text + length, kAppTitle) == 0;
}

// The program's first close request only hides its main window in the
// tray, the second ends it, as its own Exit does; an About window keeps the
// process alive until it closes too. Only the copies' own windows are
// asked: another program's window of the same class and caption is none of
// them.
BOOL CALLBACK askToClose(HWND window, LPARAM context) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  Copy* copy = nullptr;
  for (Copy& candidate : *reinterpret_cast<std::vector<Copy>*>(context)) {
    if (candidate.id == id)
      copy = &candidate;
  }
  char windowClass[32] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (!copy || !copy->here || lstrcmpA(windowClass, kFormClass) != 0)
    return TRUE;
  const bool main = hasCaption(window, "");
  if (!main && !hasCaption(window, kAboutCaptionPrefix))
    return TRUE;
  copy->asked = true;
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (main)
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

bool ended(const Copy& copy, DWORD timeoutMs) {
  return WaitForSingleObject(copy.process.get(), timeoutMs) != WAIT_TIMEOUT;
}

// Ends every running copy of the program at that path before its files are
// replaced or removed, in every log-on session: one left running in another
// user's session keeps the file in use. Copies in this session are asked to
// close, as their own Exit does; the others, and one without a window here
// to ask (still starting, or on a desktop this one cannot see), are ended
// at once. One that has not ended in
// time (a box left open, say) is ended by force: a silent removal has
// nobody to ask, and must not leave the files behind.
void endRunningCopies(const char* path) {
  const DebugPrivilege debugging;
  const std::string program = longPath(path);
  std::vector<Copy> copies = runningCopies(program);
  EnumWindows(askToClose, reinterpret_cast<LPARAM>(&copies));
  for (const Copy& copy : copies) {
    if (!copy.asked)
      TerminateProcess(copy.process.get(), 1);
  }
  const DWORD deadline = GetTickCount() + kEndTimeoutMs;
  for (const Copy& copy : copies) {
    const LONG left = static_cast<LONG>(deadline - GetTickCount());
    if (!ended(copy, left > 0 ? static_cast<DWORD>(left) : 0)) {
      TerminateProcess(copy.process.get(), 1);
      ended(copy, 5000);
    }
  }
}

}  // namespace

// For the setup program and its uninstaller (NSIS's System plug-in), with
// the installed Calvorin.exe's full path.
extern "C" __declspec(dllexport) void __stdcall EndRunningCopies(const char* program) {
  endRunningCopies(program);
}

// The package's copy of the same, before InstallValidate: INSTALLDIR is then
// the folder the files are installed to, replaced in or removed from.
extern "C" __declspec(dllexport) UINT __stdcall CloseCalvorin(MSIHANDLE session) {
  char folder[MAX_PATH] = {};
  DWORD length = sizeof folder;
  if (MsiGetPropertyA(session, "INSTALLDIR", folder, &length) != ERROR_SUCCESS || length == 0)
    return ERROR_SUCCESS;
  std::string program = folder;
  if (program.back() != '\\')
    program += '\\';
  endRunningCopies((program + "Calvorin.exe").c_str());
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
