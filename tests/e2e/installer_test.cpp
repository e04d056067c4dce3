#include <string>

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "calvorin_test.h"

namespace calvorin::testing {
namespace {

constexpr char kInstalledProgram[] = "C:\\Program Files\\Calvorin\\Calvorin.exe";
constexpr char kInstalledHelp[] = "C:\\Program Files\\Calvorin\\Calvorin.HLP";
constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Calvorin";

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The all-users Start-menu shortcut.
std::string shortcut() {
  char programs[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
  return std::string(programs) + "\\Calvorin.lnk";
}

// A value of the Add/Remove Programs entry, or "(none)".
std::string uninstallEntry(const char* name) {
  char data[512] = {};
  DWORD length = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, data,
                   &length) != ERROR_SUCCESS) {
    return "(none)";
  }
  return data;
}

// Runs a command line and returns its exit code once it has ended.
DWORD run(std::string commandLine, int timeoutMs) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine;
    return ~0u;
  }
  WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutMs));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

class InstallerTest : public CalvorinTest {};

TEST_F(InstallerTest, SilentSetupInstallsAndSilentUninstallEndsTheProgramAndLeavesNothing) {
  install();
  ASSERT_EQ(run("\"" + shippedFile("Calvorin-1.0-setup.exe") + "\" /S", 60000), 0u);
  EXPECT_TRUE(exists(kInstalledProgram));
  EXPECT_TRUE(exists(kInstalledHelp));
  EXPECT_TRUE(exists(shortcut())) << shortcut();
  EXPECT_EQ(uninstallEntry("DisplayName"), "Calvorin 1.0");
  const std::string quietUninstall = uninstallEntry("QuietUninstallString");
  ASSERT_NE(quietUninstall, "(none)");

  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  choose(window, "&Enable Auto StartUp");
  EXPECT_TRUE(waitUntil([] { return registration() == kInstalledProgram; }, 5000))
      << registration();

  // As Add/Remove Programs runs it, with the program still in the tray. The
  // uninstaller hands over to a copy of itself in %TEMP% and returns at once.
  run(quietUninstall, 10000);
  EXPECT_EQ(calvorin().exitCode(30000), 0u) << "ended cleanly, not killed";
  EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
  EXPECT_TRUE(waitUntil([] { return !exists("C:\\Program Files\\Calvorin"); }, 30000));
  EXPECT_TRUE(waitUntil([] { return uninstallEntry("DisplayName") == "(none)"; }, 10000));
  EXPECT_FALSE(exists(shortcut()));
  EXPECT_EQ(registration(), "(none)");
}

}  // namespace
}  // namespace calvorin::testing
