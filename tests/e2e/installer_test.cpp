#include <string>

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

constexpr char kInstalledProgram[] = "C:\\Program Files\\Calvorin\\Calvorin.exe";
constexpr char kInstalledHelp[] = "C:\\Program Files\\Calvorin\\Calvorin.HLP";
constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Calvorin";

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Start-menu shortcut in a Programs folder: all users', or the user's.
std::string shortcut(int folder = CSIDL_COMMON_PROGRAMS) {
  char programs[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, programs);
  return std::string(programs) + "\\Calvorin.lnk";
}

// The package's shortcut goes where Windows Installer puts ProgramMenuFolder:
// all users' Programs with ALLUSERS=1, which the package sets. Wine's msi
// takes the user's Programs whatever ALLUSERS says, so either place counts,
// but only one of them.
int packageShortcuts() {
  return exists(shortcut()) + exists(shortcut(CSIDL_PROGRAMS));
}

// The Add/Remove Programs entries of Calvorin: the setup program's and the
// package's.
int uninstallEntries() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                    0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return 0;
  }
  const win32::UniqueKey uninstall(opened);
  int entries = 0;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(uninstall.get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    char display[256] = {};
    DWORD length = sizeof display;
    if (RegGetValueA(uninstall.get(), name, "DisplayName", RRF_RT_REG_SZ, nullptr, display,
                     &length) == ERROR_SUCCESS &&
        std::string(display).rfind("Calvorin", 0) == 0) {
      ++entries;
    }
  }
  return entries;
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

std::string package() {
  return "\"" + shippedFile("Calvorin-1.0.msi") + "\"";
}

class InstallerTest : public CalvorinTest {
 protected:
  // A silent removal begun a few seconds into a start command's wait for a
  // service that never comes up: the program takes the close requests only
  // after its minute's wait, then shows a failure box that nobody answers,
  // and is ended by force. Within 150 s nothing is left.
  void removeDuringAStartWait(const std::string& removal) {
    const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
    choose(window, "&Enable Auto StartUp");
    ASSERT_TRUE(waitUntil([] { return registration() == kInstalledProgram; }, 5000));
    choose(window, "&Start");
    ASSERT_TRUE(waitUntil(
        [&] { return heldText(statusLine(window)).rfind("Starting Service.", 0) == 0; }, 10000));
    Sleep(3000);

    const DWORD begun = GetTickCount();
    run(removal, 150000);
    const int left = 150000 - static_cast<int>(GetTickCount() - begun);
    EXPECT_TRUE(waitUntil(
        [&] {
          return calvorin().exitCode(0) != STILL_ACTIVE && !exists("C:\\Program Files\\Calvorin") &&
                 uninstallEntries() == 0;
        },
        left > 0 ? left : 0));
    expectNothingLeft();
  }

  // Nothing of Calvorin left: no process, icon, file, folder, shortcut,
  // Add/Remove Programs entry or auto-start value.
  void expectNothingLeft() {
    EXPECT_EQ(countTrayIcons(L"Service is Stopped"), 0);
    EXPECT_FALSE(exists("C:\\Program Files\\Calvorin"));
    EXPECT_EQ(packageShortcuts(), 0);
    EXPECT_EQ(uninstallEntries(), 0);
    EXPECT_EQ(registration(), "(none)");
  }
};

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

TEST_F(InstallerTest, PackageInstallsSilentlyWithTheAutoStartValueOnlyWhenAsked) {
  install();
  struct Case {
    const char* properties;
    const char* registration;
  };
  for (const Case& ask : {Case{"", "(none)"}, Case{"AUTOSTART=yes", "(none)"},
                          Case{"AUTOSTART=1", kInstalledProgram}}) {
    SCOPED_TRACE(ask.properties);
    ASSERT_EQ(run("msiexec /i " + package() + " /qn " + ask.properties, 120000), 0u);
    EXPECT_TRUE(exists(kInstalledProgram));
    EXPECT_TRUE(exists(kInstalledHelp));
    EXPECT_EQ(packageShortcuts(), 1);
    EXPECT_EQ(uninstallEntries(), 1);
    EXPECT_EQ(registration(), ask.registration);
    if (ask.properties[0] == '\0') {
      const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
      EXPECT_EQ(countTrayIcons(window), 1);
    }

    EXPECT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);
    expectNothingLeft();
  }
}

TEST_F(InstallerTest, PackageRemovalEndsTheProgramAndTakesTheValueItsMenuWrote) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  choose(window, "&Enable Auto StartUp");
  ASSERT_TRUE(waitUntil([] { return registration() == kInstalledProgram; }, 5000));

  EXPECT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(calvorin().exitCode(0), 0u) << "ended cleanly, not killed";
  expectNothingLeft();
}

TEST_F(InstallerTest, SilentUninstallDuringAStartWaitLeavesNothing) {
  install("--start-pending 120");
  ASSERT_EQ(run("\"" + shippedFile("Calvorin-1.0-setup.exe") + "\" /S", 60000), 0u);
  removeDuringAStartWait(uninstallEntry("QuietUninstallString"));
}

TEST_F(InstallerTest, PackageRemovalDuringAStartWaitLeavesNothing) {
  install("--start-pending 120");
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  removeDuringAStartWait("msiexec /x " + package() + " /qn");
}

// A second install of the package, or one over the setup program's: one
// installation remains, the package's, in the same folder.
TEST_F(InstallerTest, PackageOverItselfOrOverTheSetupProgramLeavesOneInstallation) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(uninstallEntries(), 1);
  ASSERT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);

  ASSERT_EQ(run("\"" + shippedFile("Calvorin-1.0-setup.exe") + "\" /S", 60000), 0u);
  ASSERT_EQ(uninstallEntry("DisplayName"), "Calvorin 1.0");
  EXPECT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(uninstallEntries(), 1);
  EXPECT_EQ(uninstallEntry("DisplayName"), "(none)") << "the setup program's entry is gone";
  EXPECT_FALSE(exists("C:\\Program Files\\Calvorin\\uninstall.exe"));
  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  EXPECT_EQ(countTrayIcons(window), 1);
  // Under Wine the package's shortcut is the user's (see packageShortcuts),
  // so the setup program's all-users one, which on Windows it replaces, stays.
  const bool shortcutsApart = exists(shortcut(CSIDL_PROGRAMS));

  EXPECT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);
  if (shortcutsApart)
    DeleteFileA(shortcut().c_str());
  expectNothingLeft();
}

}  // namespace
}  // namespace calvorin::testkit
