#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/form1_layout.h"
#include "help/context_ids.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_ui.h"
#include "processes.h"
#include "recording_events.h"

namespace calvorin {
namespace {

using testkit::RecordingEvents;

// The help file the build put beside the program.
std::string builtHelpFile() {
  const char* bin = std::getenv("CALVORIN_SHIPPED_DIR");
  std::string path = std::string("Z:") + (bin ? bin : ".") + "/Calvorin.HLP";
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

// Wine's help viewer shows a topic in a rich edit control (id 0x701) whose
// first line is the topic's title.
std::string shownTopicTitle(int timeoutMs) {
  std::string all;
  testkit::waitUntil(
      [&] {
        if (HWND viewer = FindWindowA("MS_WINHELP", nullptr)) {
          char text[4096] = {};
          SendMessageTimeoutA(GetDlgItem(viewer, 0x701), WM_GETTEXT, sizeof text,
                              reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
          all = text;
        }
        return !all.empty();
      },
      timeoutMs, testkit::Pump::Messages);
  return all.substr(0, all.find('\r'));
}

bool viewerGone(int timeoutMs) {
  return testkit::waitUntil([] { return !FindWindowA("MS_WINHELP", nullptr); }, timeoutMs);
}

class HelpAdapterTest : public ::testing::Test {
 protected:
  HelpAdapterTest() { ui.setHelpFile(builtHelpFile()); }
  ~HelpAdapterTest() override {
    WinHelpA(nullptr, builtHelpFile().c_str(), HELP_QUIT, 0);
    viewerGone(5000);
  }

  std::unique_ptr<platform::Form> formWithContext(int contextId) {
    auto description = app::form1Layout();
    description.helpContextId = contextId;
    return ui.createForm(description, events);
  }

  win32::Win32HelpEngine engine;
  win32::Win32Ui ui{engine};
  RecordingEvents events;
};

TEST_F(HelpAdapterTest, F1OpensTheHelpFileAtTheFormsTopic) {
  auto main = formWithContext(10);
  SendMessageA(win32::fromPortHandle<HWND>(main->handle()), WM_HELP, 0, 0);
  EXPECT_EQ(shownTopicTitle(10000), "The Calvorin window");

  auto about = formWithContext(20);
  SendMessageA(win32::fromPortHandle<HWND>(about->handle()), WM_HELP, 0, 0);
  EXPECT_EQ(shownTopicTitle(10000), "The About window");
}

TEST_F(HelpAdapterTest, QuitHelpClosesTheViewer) {
  auto main = formWithContext(10);
  const auto window = main->handle();
  SendMessageA(win32::fromPortHandle<HWND>(window), WM_HELP, 0, 0);
  ASSERT_EQ(shownTopicTitle(10000), "The Calvorin window");

  win32::Win32Environment environment;
  help::ContextIDs ids(engine, environment, ui);
  ui.setHelpFile(builtHelpFile());
  ids.QuitHelp();
  EXPECT_TRUE(viewerGone(5000));
}

TEST_F(HelpAdapterTest, TheMessengerHelpCommandLineOpensTheHelpFile) {
  win32::Win32Environment environment;
  win32::Win32Launcher launcher;
  std::string folder = builtHelpFile();
  folder.erase(folder.rfind('\\'));

  launcher.launch(help::messengerHelpCommandLine(environment.variable("windir"), folder));

  EXPECT_EQ(shownTopicTitle(10000), "Calvorin Help");
}

TEST(LauncherTest, AProgramThatDoesNotExistIsAPlatformError) {
  win32::Win32Launcher launcher;
  EXPECT_THROW(launcher.launch("\"C:\\no such folder\\nothing.exe\""), platform::PlatformError);
}

TEST(EnvironmentTest, TheApplicationPathHasNoTrailingBackslashButAtADriveRoot) {
  EXPECT_EQ(win32::folderOf("C:\\Calvorin.exe"), "C:\\");
  EXPECT_EQ(win32::folderOf("C:\\Program Files\\Calvorin\\Calvorin.exe"),
            "C:\\Program Files\\Calvorin");
  const std::string own = win32::Win32Environment().applicationPath();
  EXPECT_FALSE(own.empty());
  EXPECT_NE(own.back(), '\\');
}

}  // namespace
}  // namespace calvorin
