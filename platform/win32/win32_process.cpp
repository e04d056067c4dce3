#include "platform/win32/win32_process.h"

#include <vector>

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/win32_error.h"

namespace calvorin::win32 {

std::string folderOf(const std::string& programPath) {
  const auto slash = programPath.find_last_of('\\');
  if (slash == std::string::npos)
    return {};
  // "C:\Calvorin.exe" lies in "C:\", whose backslash is part of the root.
  if (slash == 2 && programPath[1] == ':')
    return programPath.substr(0, 3);
  return programPath.substr(0, slash);
}

std::string Win32Environment::applicationPath() const {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      throwLastError("Could not read the program's own path");
    if (length < path.size())
      return folderOf(std::string(path.data(), length));
    path.resize(path.size() * 2);
  }
}

std::optional<std::string> Win32Environment::variable(const std::string& name) const {
  const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0)
    return std::nullopt;
  std::string value(needed, '\0');
  const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), needed);
  value.resize(length);
  return value;
}

void Win32Launcher::launch(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    throwLastError("Could not start " + commandLine);
  }
  // The program runs on its own; nothing waits for it.
  const StartedProcess launched(process);
}

double PerformanceClock::now() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Win32HelpEngine::winHelp(std::uint32_t window, const std::string& helpFile,
                              std::uint32_t command, std::uintptr_t data) {
  return WinHelpA(fromPortHandle<HWND>(window), helpFile.c_str(), command, data) != FALSE;
}

}  // namespace calvorin::win32
