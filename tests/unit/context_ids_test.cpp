#include "help/context_ids.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "fakes/fake_platform.h"

namespace calvorin::help {
namespace {

TEST(HelpFilePath, ADriveRootGetsNoSecondBackslash) {
  EXPECT_EQ(helpFilePath("C:\\"), "C:\\Calvorin.HLP");
  EXPECT_EQ(helpFilePath("C:\\Tools"), "C:\\Tools\\Calvorin.HLP");
  EXPECT_EQ(helpFilePath(" C:\\ "), " C:\\ Calvorin.HLP");
  EXPECT_EQ(helpFilePath("C:\\Tools\\ "), "C:\\Tools\\ Calvorin.HLP");
}

TEST(MessengerHelpCommandLine, QuotesTheViewerAndTheFileAndJoinsThePathsAsTheyAre) {
  EXPECT_EQ(messengerHelpCommandLine(std::string("C:\\WINDOWS"), "C:\\Program Files\\Calvorin"),
            "\"C:\\WINDOWS\\winhlp32\" \"C:\\Program Files\\Calvorin\\Calvorin.HLP\"");
  EXPECT_EQ(messengerHelpCommandLine(std::string("C:\\WINDOWS"), "C:\\"),
            "\"C:\\WINDOWS\\winhlp32\" \"C:\\\\Calvorin.HLP\"");
  EXPECT_EQ(messengerHelpCommandLine(std::nullopt, "D:\\Apps"),
            "\"\\winhlp32\" \"D:\\Apps\\Calvorin.HLP\"");
}

class HelpTest : public ::testing::Test {
 protected:
  fakes::FakePlatform platform;
  app::Form1 form{platform.ports()};
};

TEST_F(HelpTest, QuitHelpNamesTheMainWindowAndTheHelpFileWithNoData) {
  ASSERT_TRUE(form.load());
  ContextIDs ids(platform.helpEngine, platform.environment, platform.ui);
  ids.InitHelp(0x00010042);
  ids.QuitHelp();

  ASSERT_EQ(platform.helpEngine.calls.size(), 1u);
  const auto& call = platform.helpEngine.calls[0];
  EXPECT_EQ(call.window, 0x00010042u);
  EXPECT_EQ(call.helpFile, "C:\\Program Files\\Calvorin\\Calvorin.HLP");
  EXPECT_EQ(call.command, platform::kHelpQuit);
  EXPECT_EQ(call.data, std::string(4, '\0'));
}

TEST_F(HelpTest, MessengerHelpLaunchesTheViewerOnTheHelpFile) {
  ASSERT_TRUE(form.load());
  form.menuClicked(app::menuMsgHelp);

  EXPECT_EQ(platform.launcher.launched,
            std::vector<std::string>{
                "\"C:\\WINDOWS\\winhlp32\" \"C:\\Program Files\\Calvorin\\Calvorin.HLP\""});

  platform.launcher.fails = true;
  EXPECT_THROW(form.menuClicked(app::menuMsgHelp), platform::PlatformError);
}

}  // namespace
}  // namespace calvorin::help
