#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

constexpr char kInstalledProgram[] = "C:\\Program Files\\Calvorin\\Calvorin.exe";
constexpr char kInstalledHelp[] = "C:\\Program Files\\Calvorin\\Calvorin.HLP";
// The auto-start entry as the installers write it, quoted.
constexpr char kAutoStartCommand[] = "\"C:\\Program Files\\Calvorin\\Calvorin.exe\"";
// Calvorin's file name in another folder, as a portable copy has it.
constexpr char kLookalike[] = "C:\\Portable\\Calvorin.exe";
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

// The versions the Add/Remove Programs entries of Calvorin show: the setup
// program's and the package's.
std::vector<std::string> uninstallVersions() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                    0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return {};
  }
  const win32::UniqueKey uninstall(opened);
  std::vector<std::string> versions;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(uninstall.get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    if (registryText(uninstall.get(), name, "DisplayName").rfind("Calvorin", 0) == 0)
      versions.push_back(registryText(uninstall.get(), name, "DisplayVersion"));
  }
  return versions;
}

int uninstallEntries() {
  return static_cast<int>(uninstallVersions().size());
}

// A file's version as its version resource gives it (1.0.1), or "(none)".
std::string fileVersion(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info) {
    return "(none)";
  }
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS));
}

// A value of the Add/Remove Programs entry, or "(none)".
std::string uninstallEntry(const char* name) {
  return registryText(HKEY_LOCAL_MACHINE, kUninstallKey, name);
}

// The artefact whose name matches pattern in the folder that an environment
// variable names (what ships, or the same at the next version), quoted for a
// command line.
std::string artefact(const char* folderVariable, const char* pattern) {
  const std::string folder = windowsPathIn(folderVariable, "");
  WIN32_FIND_DATAA found{};
  const win32::UniqueFind search(FindFirstFileA((folder + pattern).c_str(), &found));
  if (!search) {
    ADD_FAILURE() << "no " << pattern << " in " << folder;
    return "";
  }
  const std::string name = found.cFileName;
  if (FindNextFileA(search.get(), &found))
    ADD_FAILURE() << "more than one " << pattern << " in " << folder << " (an old build's?)";
  return "\"" + folder + name + "\"";
}

std::string package() {
  return artefact("CALVORIN_SHIPPED_DIR", "Calvorin-*.msi");
}
std::string setupProgram() {
  return artefact("CALVORIN_SHIPPED_DIR", "Calvorin-*-setup.exe");
}
std::string nextPackage() {
  return artefact("CALVORIN_NEXT_DIR", "Calvorin-*.msi");
}
std::string nextSetupProgram() {
  return artefact("CALVORIN_NEXT_DIR", "Calvorin-*-setup.exe");
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
    ASSERT_TRUE(waitUntil([] { return registration() == kAutoStartCommand; }, 5000));
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

  // The setup program's uninstaller, as Add/Remove Programs runs it: it hands
  // over to a copy of itself in %TEMP% and returns at once.
  void uninstallSetupProgram() {
    run(uninstallEntry("QuietUninstallString"), 10000);
    EXPECT_TRUE(waitUntil([] { return uninstallEntries() == 0; }, 30000));
    EXPECT_TRUE(waitUntil([] { return !exists("C:\\Program Files\\Calvorin"); }, 30000));
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
  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  EXPECT_TRUE(exists(kInstalledProgram));
  EXPECT_TRUE(exists(kInstalledHelp));
  EXPECT_TRUE(exists(shortcut())) << shortcut();
  EXPECT_EQ(uninstallEntry("DisplayName"), "Calvorin");
  const std::string quietUninstall = uninstallEntry("QuietUninstallString");
  ASSERT_NE(quietUninstall, "(none)");

  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  choose(window, "&Enable Auto StartUp");
  EXPECT_TRUE(waitUntil([] { return registration() == kAutoStartCommand; }, 5000))
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

// A file that another program holds open is left for the next restart,
// which Windows is asked to do, and the silent uninstaller goes on.
TEST_F(InstallerTest, SilentUninstallLeavesAFileInUseToTheNextRestart) {
  install();
  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  {
    const win32::UniqueFile held(CreateFileA(kInstalledHelp, GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    run(uninstallEntry("QuietUninstallString"), 10000);
    EXPECT_TRUE(waitUntil([] { return uninstallEntries() == 0; }, 30000));
    EXPECT_TRUE(exists(kInstalledHelp));
    const std::string pending =
        registryText(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ);
    EXPECT_NE(pending.find("Calvorin.HLP"), std::string::npos);
  }
  DeleteFileA(kInstalledHelp);
  RemoveDirectoryA("C:\\Program Files\\Calvorin");
  expectNothingLeft();
}

TEST_F(InstallerTest, PackageInstallsSilentlyWithTheAutoStartValueOnlyWhenAsked) {
  install();
  struct Case {
    const char* properties;
    const char* registration;
  };
  for (const Case& ask : {Case{"", "(none)"}, Case{"AUTOSTART=yes", "(none)"},
                          Case{"AUTOSTART=1", kAutoStartCommand}}) {
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
  ASSERT_TRUE(waitUntil([] { return registration() == kAutoStartCommand; }, 5000));

  EXPECT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(calvorin().exitCode(0), 0u) << "ended cleanly, not killed";
  expectNothingLeft();
}

TEST_F(InstallerTest, SilentUninstallDuringAStartWaitLeavesNothing) {
  install("--start-pending 120");
  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  removeDuringAStartWait(uninstallEntry("QuietUninstallString"));
}

TEST_F(InstallerTest, PackageRemovalDuringAStartWaitLeavesNothing) {
  install("--start-pending 120");
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  removeDuringAStartWait("msiexec /x " + package() + " /qn");
}

// The package of a later version over an installed one, with the program
// running: the program is closed first, its files are replaced, one entry
// shows the new version, and the auto-start entry the program's menu wrote
// stays. The older package over the newer is refused and changes nothing;
// removing the newer leaves nothing.
TEST_F(InstallerTest, ALaterPackageReplacesTheInstalledOneAndAnOlderIsRefused) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  const std::string installed = fileVersion(kInstalledProgram);
  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  choose(window, "&Enable Auto StartUp");
  ASSERT_TRUE(waitUntil([] { return registration() == kAutoStartCommand; }, 5000));

  EXPECT_EQ(run("msiexec /i " + nextPackage() + " /qn", 180000), 0u);
  EXPECT_EQ(calvorin().exitCode(0), 0u) << "closed first, cleanly";
  const std::vector<std::string> entries = uninstallVersions();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_NE(entries[0], installed);
  EXPECT_EQ(fileVersion(kInstalledProgram), entries[0]) << "the files are the new version's";
  EXPECT_EQ(registration(), kAutoStartCommand) << "written anew, quoted";

  // ERROR_INSTALL_FAILURE from the launch condition whose message says why
  // (package.tables checks it: Wine's msi logs no launch condition's text).
  EXPECT_EQ(run("msiexec /i " + package() + " /qn", 120000), 1603u);
  EXPECT_EQ(uninstallVersions(), entries);
  EXPECT_EQ(fileVersion(kInstalledProgram), entries[0]);

  EXPECT_EQ(run("msiexec /x " + nextPackage() + " /qn", 120000), 0u);
  expectNothingLeft();
}

// The auto-start entry across an upgrade of the package: one that the older
// package wrote stays without AUTOSTART=1 being given again, and AUTOSTART=1
// to the newer writes one that was not there.
TEST_F(InstallerTest, ALaterPackageKeepsTheAutoStartEntryAndHonoursAutostart) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn AUTOSTART=1", 120000), 0u);
  ASSERT_EQ(registration(), kAutoStartCommand);
  EXPECT_EQ(run("msiexec /i " + nextPackage() + " /qn", 180000), 0u);
  EXPECT_EQ(registration(), kAutoStartCommand);
  EXPECT_EQ(run("msiexec /x " + nextPackage() + " /qn", 120000), 0u);
  expectNothingLeft();

  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  ASSERT_EQ(registration(), "(none)");
  EXPECT_EQ(run("msiexec /i " + nextPackage() + " /qn AUTOSTART=1", 180000), 0u);
  EXPECT_EQ(registration(), kAutoStartCommand);
  EXPECT_EQ(uninstallEntries(), 1);
  EXPECT_EQ(run("msiexec /x " + nextPackage() + " /qn", 120000), 0u);
  expectNothingLeft();
}

// The setup program of a later version over an installed one, silently:
// one installation of the new version, the auto-start entry kept.
TEST_F(InstallerTest, ALaterSetupProgramReplacesTheInstalledOne) {
  install();
  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  const std::string installed = fileVersion(kInstalledProgram);
  const HWND window = startedHidden(L"Service is Stopped", kInstalledProgram);
  choose(window, "&Enable Auto StartUp");
  ASSERT_TRUE(waitUntil([] { return registration() == kAutoStartCommand; }, 5000));

  EXPECT_EQ(run(nextSetupProgram() + " /S", 120000), 0u);
  EXPECT_EQ(calvorin().exitCode(0), 0u) << "closed first, cleanly";
  const std::vector<std::string> entries = uninstallVersions();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_NE(entries[0], installed);
  EXPECT_EQ(fileVersion(kInstalledProgram), entries[0]);
  EXPECT_EQ(registration(), kAutoStartCommand) << "quoted";

  uninstallSetupProgram();
  expectNothingLeft();
}

// Windows runs the auto-start entry as a command line: run so, with a
// C:\Program.exe in place, it starts the installed program and not that
// one. The package writes it quoted, and an upgrade quotes an older
// version's entry; the setup program quotes an older entry for its folder
// and leaves one for a copy elsewhere as it is.
TEST_F(InstallerTest, TheAutoStartEntryIsQuotedAndStartsTheInstalledProgram) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn AUTOSTART=1", 120000), 0u);
  ASSERT_EQ(registration(), kAutoStartCommand);
  stubOut({"C:\\Program.exe"});
  {
    const CalvorinProcess started(CalvorinProcess::CommandLine{registration()});
    EXPECT_NE(started.mainWindow(), nullptr);
    EXPECT_EQ(stubCalls(), "") << "C:\\Program.exe ran";
  }
  setRegistration(kInstalledProgram);
  EXPECT_EQ(run("msiexec /i " + nextPackage() + " /qn", 180000), 0u);
  EXPECT_EQ(registration(), kAutoStartCommand);
  EXPECT_EQ(run("msiexec /x " + nextPackage() + " /qn", 120000), 0u);

  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  for (const std::string older : {kInstalledProgram, kLookalike}) {
    setRegistration(older.c_str());
    EXPECT_EQ(run(setupProgram() + " /S", 60000), 0u);
    EXPECT_EQ(registration(), older == kInstalledProgram ? kAutoStartCommand : older);
  }
  uninstallSetupProgram();
  expectNothingLeft();
}

// Each installer ends the running copies of the program whose files it
// replaces or removes, and only those: a look-alike in another folder (the
// stub program there, with --calvorin-window), of the same file name,
// window class and caption, is neither waited for nor ended.
TEST_F(InstallerTest, InstallersEndOnlyTheInstalledProgramsCopies) {
  install();
  ASSERT_TRUE(CreateDirectoryA("C:\\Portable", nullptr));
  stubOut({kLookalike});
  const Process lookalike(std::string(kLookalike) + " --calvorin-window");
  ASSERT_TRUE(waitUntil([] { return FindWindowA(identity::kFormClass, texts::kAppTitle); }, 10000));

  const auto endsTheCopyOnly = [&](const std::string& command) {
    SCOPED_TRACE(command);
    startedHidden(L"Service is Stopped", kInstalledProgram);
    const DWORD begun = GetTickCount();
    EXPECT_EQ(run(command, 180000), 0u);
    EXPECT_EQ(calvorin().exitCode(30000), 0u) << "closed first, cleanly";
    EXPECT_LT(GetTickCount() - begun, 60000u) << "waited for the look-alike";
    EXPECT_EQ(lookalike.exitCode(0), STILL_ACTIVE);
  };
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  endsTheCopyOnly("msiexec /i " + nextPackage() + " /qn");
  endsTheCopyOnly("msiexec /x " + nextPackage() + " /qn");
  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  endsTheCopyOnly(setupProgram() + " /S");
  endsTheCopyOnly(uninstallEntry("QuietUninstallString"));
  EXPECT_TRUE(waitUntil([] { return !exists("C:\\Program Files\\Calvorin"); }, 30000));
  expectNothingLeft();
}

// A second install of the package, or one over the setup program's: one
// installation remains, the package's, in the same folder.
TEST_F(InstallerTest, PackageOverItselfOrOverTheSetupProgramLeavesOneInstallation) {
  install();
  ASSERT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(run("msiexec /i " + package() + " /qn", 120000), 0u);
  EXPECT_EQ(uninstallEntries(), 1);
  ASSERT_EQ(run("msiexec /x " + package() + " /qn", 120000), 0u);

  ASSERT_EQ(run(setupProgram() + " /S", 60000), 0u);
  ASSERT_EQ(uninstallEntry("DisplayName"), "Calvorin");
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
