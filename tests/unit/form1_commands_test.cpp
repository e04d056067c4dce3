#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/form1_harness.h"

namespace calvorin::app {
namespace {

using platform::WindowState;

class Form1CommandTest : public fakes::Form1Harness {
 protected:
  void SetUp() override { ASSERT_TRUE(form.load()); }

  // The browser's path as Windows registers it.
  void registerBrowser(const std::string& path) {
    putText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE", "", path);
  }
};

TEST_F(Form1CommandTest, MinimisingHidesTheWindowAndADoubleClickOrASecondStartBringsItBack) {
  form.t_MouseDblClick(1);
  EXPECT_TRUE(window().visible());

  window().setWindowState(WindowState::Minimized);
  EXPECT_FALSE(window().visible());

  window().deliverTrayCode(518);
  EXPECT_TRUE(window().visible());
  EXPECT_EQ(window().windowState(), WindowState::Normal);

  window().setWindowState(WindowState::Maximized);
  EXPECT_TRUE(window().visible());

  window().setWindowState(WindowState::Minimized);
  form.activationRequested();
  EXPECT_TRUE(window().visible());
  EXPECT_EQ(window().windowState(), WindowState::Normal);
  EXPECT_EQ(window().history.back(), "bringToFront");
}

TEST_F(Form1CommandTest, TheFirstCloseOnlyHidesAndTheSecondEndsWithTheIconGone) {
  form.t_MouseDblClick(1);

  window().requestClose();
  EXPECT_FALSE(window().closed());
  EXPECT_FALSE(window().visible());
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);

  // Bringing the window back does not make the next close a first one.
  window().deliverTrayCode(515);
  EXPECT_TRUE(window().visible());

  window().requestClose();
  EXPECT_TRUE(window().closed());
  EXPECT_TRUE(platform.notificationArea.shown.empty());
}

TEST_F(Form1CommandTest, EveryCloseRequestTellsTheHelpEngineToQuit) {
  window().requestClose();
  window().requestClose();

  ASSERT_EQ(platform.helpEngine.calls.size(), 2u);
  for (const auto& call : platform.helpEngine.calls) {
    EXPECT_EQ(call.command, platform::kHelpQuit);
    EXPECT_EQ(call.window, window().handle());
  }
}

TEST_F(Form1CommandTest, TheSessionsEndQuitsHelpTakesTheIconAndEndsAlsoFromAWait) {
  struct Moment {
    const char* name;
    std::function<void(fakes::FakePlatform&, Form1&)> endSession;
  };
  const Moment moments[] = {
      {"while idle", [](fakes::FakePlatform&, Form1& form) { form.sessionEnded(); }},
      {"in a stop wait",
       [](fakes::FakePlatform& platform, Form1& form) {
         platform.service.stateAfterStop = "Running";
         const double begin = platform.clock.time;
         platform.ui.whileWaiting = [&platform, &form, begin] {
           if (platform.clock.time > begin + 3 && !platform.ui.quitRequested)
             form.sessionEnded();
         };
         form.StopMessenger();
         // The wait ended with the session, long before its fifteen seconds.
         EXPECT_LT(platform.clock.time, begin + 4);
       }},
  };
  for (const auto& moment : moments) {
    SCOPED_TRACE(moment.name);
    fakes::FakePlatform ending;
    ending.service.state = "Running";
    Form1 form(ending.ports());
    ASSERT_TRUE(form.load());
    ending.helpEngine.calls.clear();

    moment.endSession(ending, form);

    EXPECT_TRUE(ending.ui.quitRequested);
    EXPECT_TRUE(ending.notificationArea.shown.empty());
    EXPECT_EQ(ending.notificationArea.requests.back().code, platform::kNimDelete);
    ASSERT_EQ(ending.helpEngine.calls.size(), 1u);
    EXPECT_EQ(ending.helpEngine.calls[0].command, platform::kHelpQuit);
    EXPECT_TRUE(ending.ui.messages.empty());
  }
}

TEST_F(Form1CommandTest, ExitFromTheTrayMenuTwiceEndsTheProgramWhileItsMenuIsOpen) {
  window().chooseFromPopup = mnuExit;
  window().deliverTrayCode(517);
  EXPECT_FALSE(window().closed());
  EXPECT_EQ(platform.notificationArea.shown.size(), 1u);
  EXPECT_FALSE(window().visible());
  EXPECT_EQ(std::count(window().history.begin(), window().history.end(), "requestClose"), 1);

  window().chooseFromPopup = mnuExit;
  window().deliverTrayCode(517);
  EXPECT_TRUE(window().closed());
  EXPECT_TRUE(platform.notificationArea.shown.empty());
}

TEST_F(Form1CommandTest, EnableStoresTheFixedFileNameInTheProgramsFolderQuoted) {
  form.mnuAst_Click();
  EXPECT_EQ(registered(), std::string("\"C:\\Program Files\\Calvorin\\Calvorin.exe\"") + '\0');
  EXPECT_FALSE(window().menuItem(mnuAst).enabled());
  EXPECT_TRUE(window().menuItem(mnuAdis).enabled());

  platform.environment.path = "C:\\";
  form.mnuAst_Click();
  EXPECT_EQ(registered(), std::string("\"C:\\\\Calvorin.exe\"") + '\0');
}

TEST_F(Form1CommandTest, DisableOfAnAbsentEntryCompletesQuietly) {
  form.mnuAdis_Click();

  EXPECT_EQ(registered(), "(none)");
  EXPECT_TRUE(platform.ui.messages.empty());
  EXPECT_TRUE(window().menuItem(mnuAst).enabled());
  EXPECT_FALSE(window().menuItem(mnuAdis).enabled());
}

TEST_F(Form1CommandTest, TheTrayPictureFollowsTheServiceNotTheAutoStartCommand) {
  form.mnuAst_Click();
  EXPECT_EQ(platform.notificationArea.lastIcon(), pictureHandle(Image2));
  EXPECT_EQ(platform.notificationArea.lastTip(), "Service is Stopped");

  fakes::FakePlatform running;
  running.service.state = "Running";
  Form1 other(running.ports());
  ASSERT_TRUE(other.load());
  other.mnuAdis_Click();
  EXPECT_EQ(running.notificationArea.lastIcon(),
            running.window().picture(Image1).picture()->handle());
  EXPECT_EQ(running.notificationArea.lastTip(), "Service is Running");
  EXPECT_EQ(running.notificationArea.requests.back().code, platform::kNimModify);
}

TEST_F(Form1CommandTest, ARefusedAutoStartChangeSaysSoAndChangesNothing) {
  const auto requests = platform.notificationArea.requests.size();
  platform.registry.failCreateWith = platform::kErrorAccessDenied;

  form.mnuAst_Click();

  ASSERT_EQ(platform.ui.messages.size(), 1u);
  EXPECT_EQ(platform.ui.messages[0].title, "Calvorin 1.0");
  EXPECT_EQ(platform.ui.messages[0].icon, platform::MessageIcon::Critical);
  EXPECT_NE(platform.ui.messages[0].text.find("administrator rights"), std::string::npos);
  EXPECT_TRUE(window().menuItem(mnuAst).enabled());
  EXPECT_FALSE(window().menuItem(mnuAdis).enabled());
  EXPECT_EQ(platform.notificationArea.requests.size(), requests);

  platform.registry.failCreateWith = 0;
  form.mnuAst_Click();
  platform.registry.failOpenWith = platform::kErrorAccessDenied;
  form.mnuAdis_Click();
  EXPECT_EQ(platform.ui.messages.size(), 2u);
  EXPECT_NE(registered(), "(none)");
  EXPECT_TRUE(window().menuItem(mnuAdis).enabled());
}

TEST_F(Form1CommandTest, AboutShowsOneWindowAndItsLinkOpensTheBrowserEachTime) {
  registerBrowser("C:\\PROGRAM FILES\\Internet Explorer\\IEXPLORE.EXE");
  form.menuClicked(mnuAbout);
  form.menuClicked(mnuAbout);

  ASSERT_EQ(platform.ui.forms.size(), 2u);
  auto& about = *platform.ui.forms[1];
  EXPECT_TRUE(about.visible());
  EXPECT_EQ(about.description.caption, "About - Calvorin 1.0");
  EXPECT_EQ(about.description.helpContextId, 20);
  EXPECT_FALSE(window().visible()) << "the main window is left as it was";

  about.events.controlClicked(help::Label2);
  about.events.controlClicked(help::Label2);
  const std::string browser =
      "\"c:\\Program Files\\Internet Explorer\\iexplore.exe\" http://www.calvorin.example/";
  EXPECT_EQ(platform.launcher.launched, (std::vector<std::string>{browser, browser}));
  EXPECT_EQ(about.label(help::Label2).text(), "http://www.calvorin.example/");
}

// Where the browser is not at the fixed place, that place may hold a program
// any user put there: only the browser Windows registered is started.
TEST_F(Form1CommandTest, TheLinkStartsOnlyTheBrowserWindowsRegistered) {
  form.mnuAbout_Click();
  auto& about = *platform.ui.forms[1];

  registerBrowser("\"D:\\Programme\\Internet Explorer\\IEXPLORE.EXE\"");
  about.events.controlClicked(help::Label2);
  EXPECT_EQ(platform.launcher.launched.back(),
            "\"D:\\Programme\\Internet Explorer\\IEXPLORE.EXE\" http://www.calvorin.example/");

  platform.registry.keys.clear();
  EXPECT_THROW(about.events.controlClicked(help::Label2), platform::PlatformError);
  EXPECT_EQ(platform.launcher.launched.size(), 1u);
}

TEST_F(Form1CommandTest, AClosedAboutWindowIsMadeAnewAndOutlivesTheMainWindow) {
  form.mnuAbout_Click();
  platform.ui.forms[1]->requestClose();
  EXPECT_TRUE(platform.ui.forms[1]->closed());

  form.mnuAbout_Click();
  ASSERT_EQ(platform.ui.forms.size(), 3u);
  EXPECT_TRUE(platform.ui.forms[2]->visible());

  window().requestClose();
  window().requestClose();
  EXPECT_TRUE(window().closed());
  EXPECT_FALSE(platform.ui.forms[2]->closed());
}

TEST_F(Form1CommandTest, ABrowserThatCannotStartFailsTheClick) {
  registerBrowser("c:\\Program Files\\Internet Explorer\\iexplore.exe");
  form.mnuAbout_Click();
  platform.launcher.fails = true;
  EXPECT_THROW(platform.ui.forms[1]->events.controlClicked(help::Label2), platform::PlatformError);
}

TEST_F(Form1CommandTest, PictureButtonsAndMenuEntriesRunTheSameCommands) {
  platform.service.stateAfterStart = "Running";
  form.controlClicked(Image3);
  EXPECT_EQ(platform.ui.messages.back().text, "Service started Successfully.");
  form.menuClicked(mnustart);
  EXPECT_EQ(platform.ui.messages.back().text, "Service is already running.");
  form.controlClicked(Image4);
  EXPECT_EQ(platform.ui.messages.back().text, "Service stopped Successfully.");
  form.menuClicked(mnuStop);
  EXPECT_EQ(platform.ui.messages.back().text, "Service is already stopped.");
}

}  // namespace
}  // namespace calvorin::app
