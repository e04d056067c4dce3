#include "tray/tray_icon.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_tray.h"
#include "fakes/fake_window.h"
#include "platform/platform_error.h"

namespace calvorin::tray {
namespace {

using fakes::FakeNotificationArea;
using fakes::FakePicture;
using fakes::FakeTrayHost;
using fakes::FakeWindow;
using platform::PlatformError;

std::uint32_t field(const platform::NotifyIconRecord& record, std::size_t offset) {
  return FakeNotificationArea::readUint32(record, offset);
}

std::string szTip(const platform::NotifyIconRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.data()) + 24, 64);
}

// The tests read the 88-byte record of the shipped 32-bit program.
class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() : t(std::make_shared<TrayIcon>(area, host, platform::kNotifyIconLayout32)) {}

  // The order the main window uses: owner, picture, tooltip.
  void prepared(const std::string& tip = "Service is Running") {
    t->setOwnerForm(&owner);
    t->setIcon(running);
    t->setTooltip(tip);
  }

  const FakeNotificationArea::Request& lastRequest() { return area.requests.back(); }

  FakeNotificationArea area;
  FakeTrayHost host;
  FakeWindow owner{0x000A0B0C};
  FakeWindow other{0x777};
  std::shared_ptr<const FakePicture> running = std::make_shared<FakePicture>(0x00123456);
  std::shared_ptr<const FakePicture> stopped = std::make_shared<FakePicture>(0x00654321);
  std::shared_ptr<TrayIcon> t;
};

// Each build sends the first layout of its own Windows: handles 4 bytes wide
// in 32-bit programs, 8 bytes wide, aligned and sign-extended in 64-bit ones.
TEST_F(TrayIconTest, AddSendsTheFirstLayoutOfEitherBuildByteForByte) {
  const std::vector<std::uint8_t> tip = [] {
    std::string text = std::string("Service is Running") + '\0' + std::string(45, ' ');
    return std::vector<std::uint8_t>(text.begin(), text.end());
  }();
  const auto highIcon = std::make_shared<FakePicture>(0x80123456);
  struct Case {
    const platform::NotifyIconLayout& layout;
    std::vector<std::uint8_t> fields;
  };
  const Case cases[] = {
      {platform::kNotifyIconLayout32,
       {
           0x58, 0,    0,    0,     // cbSize: 88
           0x0C, 0x0B, 0x0A, 0,     // hWnd
           1,    0,    0,    0,     // uID
           7,    0,    0,    0,     // uFlags: message, icon and tip
           0,    2,    0,    0,     // uCallbackMessage: WM_MOUSEMOVE
           0x56, 0x34, 0x12, 0x80,  // hIcon
       }},
      {platform::kNotifyIconLayout64,
       {
           0x68, 0,    0,    0,                             // cbSize: 104
           0,    0,    0,    0,                             // padding
           0x0C, 0x0B, 0x0A, 0,    0,    0,    0,    0,     // hWnd
           1,    0,    0,    0,                             // uID
           7,    0,    0,    0,                             // uFlags
           0,    2,    0,    0,                             // uCallbackMessage
           0,    0,    0,    0,                             // padding
           0x56, 0x34, 0x12, 0x80, 0xFF, 0xFF, 0xFF, 0xFF,  // hIcon, sign-extended
       }},
  };
  for (const Case& c : cases) {
    FakeNotificationArea shell;
    const auto icon = std::make_shared<TrayIcon>(shell, host, c.layout);
    icon->setOwnerForm(&owner);
    icon->setIcon(highIcon);
    icon->setTooltip("Service is Running");
    icon->Add();

    auto expected = c.fields;
    expected.insert(expected.end(), tip.begin(), tip.end());
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].code, platform::kNimAdd);
    EXPECT_EQ(shell.requests[0].record, expected) << c.layout.size;
    EXPECT_EQ(icon->State(), 1);
  }
}

TEST_F(TrayIconTest, ATooltipTooLongForTheFieldKeepsItsTerminatingNul) {
  const std::string fits(63, 'a');
  prepared(fits);
  t->Add();
  EXPECT_EQ(szTip(lastRequest().record), fits + '\0');

  for (std::size_t length : {64u, 65u, 200u}) {
    t->setTooltip(std::string(length, 'b'));
    t->Modify();
    EXPECT_EQ(szTip(lastRequest().record), std::string(63, 'b') + '\0') << length;
    EXPECT_EQ(t->tooltip(), std::string(length, 'b'));
  }
}

TEST_F(TrayIconTest, AnIconWhoseTooltipWasNeverSetShowsAnEmptyTerminatedTip) {
  t->setOwnerForm(&owner);
  t->setIcon(running);
  t->Add();

  EXPECT_EQ(szTip(lastRequest().record), std::string(1, '\0') + std::string(63, ' '));
}

TEST_F(TrayIconTest, ModifyReadsPictureAndOwnerHandleAnew) {
  prepared();
  t->Add();
  owner.setHandle(0x00DDEE);
  t->setIcon(stopped);
  t->setTooltip("Service is Stopped");
  t->Modify();

  const auto& request = lastRequest();
  EXPECT_EQ(request.code, platform::kNimModify);
  EXPECT_EQ(field(request.record, 4), 0x00DDEEu);
  EXPECT_EQ(field(request.record, 20), 0x00654321u);
  EXPECT_EQ(szTip(request.record), std::string("Service is Stopped") + '\0' + std::string(45, ' '));
  EXPECT_EQ(t->State(), 2);
}

TEST_F(TrayIconTest, StateNamesTheLastOperationWhateverTheShellAnswered) {
  prepared();
  t->Modify();
  EXPECT_EQ(t->State(), 2);
  EXPECT_TRUE(area.shown.empty());

  t->Add();
  t->Add();
  EXPECT_EQ(t->State(), 1);
  EXPECT_EQ(area.shown.size(), 1u);

  t->Remove();
  EXPECT_EQ(t->State(), 0);
  EXPECT_TRUE(area.shown.empty());
}

TEST_F(TrayIconTest, ARefusedIconIsSentAgainUntilTheShellHoldsIt) {
  prepared();
  area.busyFor = 3;
  t->Add();
  t->retryRefused();
  EXPECT_TRUE(area.shown.empty());
  t->retryRefused();
  EXPECT_EQ(area.shown.size(), 1u);
  EXPECT_EQ(t->State(), 1);
  const auto sent = area.requests.size();
  t->retryRefused();
  EXPECT_EQ(area.requests.size(), sent) << "nothing more once the shell holds it";

  // A shell that timed out may have taken the icon all the same: the modify
  // after the refused add finds it, and the retries end.
  t->Remove();
  area.busyFor = 1;
  t->Add();
  area.shown.insert({0x000A0B0C, 1});
  t->retryRefused();
  EXPECT_EQ(lastRequest().code, platform::kNimModify);
  t->retryRefused();
  EXPECT_EQ(area.requests.size(), sent + 4);
}

TEST_F(TrayIconTest, RemoveOnANewInstanceSendsAnAllZeroRecord) {
  t->Remove();

  ASSERT_EQ(area.requests.size(), 1u);
  EXPECT_EQ(lastRequest().code, platform::kNimDelete);
  EXPECT_EQ(lastRequest().record, platform::NotifyIconRecord(88, 0));
  EXPECT_EQ(t->State(), 0);
}

TEST_F(TrayIconTest, RemoveNamesTheIconAsTheLastAddLeftIt) {
  prepared();
  t->Add();
  t->setOwnerForm(&other);
  t->Remove();

  EXPECT_EQ(field(lastRequest().record, 4), 0x000A0B0Cu);
  EXPECT_TRUE(area.shown.empty());
}

TEST_F(TrayIconTest, OwnerFormMovesTheMouseMoveSubscription) {
  t->setOwnerForm(&owner);
  EXPECT_EQ(owner.mouseMoveListener(), t.get());

  t->setOwnerForm(&other);
  EXPECT_EQ(owner.mouseMoveListener(), nullptr);
  EXPECT_EQ(other.mouseMoveListener(), t.get());

  t.reset();
  EXPECT_EQ(other.mouseMoveListener(), nullptr);
}

TEST_F(TrayIconTest, WithoutAPictureNothingIsSentAndStateStays) {
  t->setOwnerForm(&owner);
  t->setTooltip("Service is Running");

  EXPECT_THROW(t->Add(), PlatformError);
  EXPECT_TRUE(area.requests.empty());
  EXPECT_EQ(t->State(), 0);
}

TEST_F(TrayIconTest, WithoutAnOwnerTheRecordIsHalfWrittenAndNothingSent) {
  t->setIcon(running);
  t->setTooltip("Service is Running");

  EXPECT_THROW(t->Modify(), PlatformError);
  EXPECT_TRUE(area.requests.empty());
  EXPECT_EQ(t->State(), 0);
  // Remove sends the record as it stands.
  t->Remove();
  EXPECT_EQ(field(lastRequest().record, 0), 88u);
  EXPECT_EQ(field(lastRequest().record, 20), 0x00123456u);
  EXPECT_EQ(field(lastRequest().record, 4), 0u);
}

TEST_F(TrayIconTest, ReadingATooltipNeverSetIsAnError) {
  EXPECT_THROW(t->tooltip(), PlatformError);
  t->setTooltip("");
  EXPECT_EQ(t->tooltip(), "");
}

class TrayDecodingTest : public TrayIconTest {
 protected:
  TrayDecodingTest() {
    prepared();
    t->MouseDblClick = [this](std::int16_t button) { buttons.push_back(button); };
  }
  std::vector<std::int16_t> buttons;
};

TEST_F(TrayDecodingTest, DoubleClicksOfEitherButtonRaiseMouseDblClickWithButton1) {
  owner.deliverTrayCode(515);
  owner.deliverTrayCode(518);

  EXPECT_EQ(buttons, (std::vector<std::int16_t>{1, 1}));
  EXPECT_EQ(host.popups, 0);
}

TEST_F(TrayDecodingTest, EveryOtherCodeDoesNothing) {
  for (float code : {512.0f, 513.0f, 514.0f, 516.0f, 519.0f, 520.0f, 0.0f, -517.0f}) {
    owner.deliverTrayCode(code);
    EXPECT_EQ(decodeTrayCode(code * 15, 15), static_cast<std::int32_t>(code));
  }
  EXPECT_TRUE(buttons.empty());
  EXPECT_EQ(host.popups, 0);
}

TEST_F(TrayDecodingTest, HalvesRoundToTheEvenNeighbour) {
  owner.deliverTrayCode(517.5f);
  EXPECT_EQ(buttons.size(), 1u) << "518, a double-click";

  EXPECT_EQ(decodeTrayCode(516.5f * 15, 15), 516);
  EXPECT_EQ(decodeTrayCode(514.5f * 15, 15), 514);
  owner.deliverTrayCode(516.5f);
  owner.deliverTrayCode(514.5f);
  EXPECT_EQ(host.popups, 0);
}

TEST_F(TrayDecodingTest, TheScreensScaleDividesThePosition) {
  host.twips = 12.0f;
  owner.deliverTrayCode(517, 12.0f);
  EXPECT_EQ(host.popups, 1);
}

TEST_F(TrayDecodingTest, PositionsThatFitNoCodeAreIgnored) {
  for (float x : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                  std::numeric_limits<float>::quiet_NaN()}) {
    t->OwnerMouseMove(0, 0, x, 0);
    EXPECT_EQ(decodeTrayCode(x, 15), 0);
  }
  host.twips = 0.0f;
  t->OwnerMouseMove(0, 0, 517 * 15, 0);
  EXPECT_EQ(decodeTrayCode(517 * 15, 0), 0);
  EXPECT_EQ(host.popups, 0);
}

TEST_F(TrayDecodingTest, NotificationsWhileTheMenuIsOpenAreIgnored) {
  host.whileMenuIsOpen = [this] {
    owner.deliverTrayCode(517);
    owner.deliverTrayCode(515);
  };
  owner.deliverTrayCode(517);

  EXPECT_EQ(host.popups, 1);
  EXPECT_TRUE(buttons.empty());

  owner.deliverTrayCode(517);
  EXPECT_EQ(host.popups, 2);
}

TEST_F(TrayDecodingTest, AnInstanceReleasedFromItsMenuLivesUntilTheNotificationIsHandled) {
  std::weak_ptr<TrayIcon> watch = t;
  host.whileMenuIsOpen = [this, &watch] {
    t.reset();
    EXPECT_FALSE(watch.expired());
    owner.deliverTrayCode(517);
  };
  owner.deliverTrayCode(517);

  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(host.popups, 1);
  EXPECT_EQ(owner.mouseMoveListener(), nullptr);
}

TEST_F(TrayDecodingTest, AFailingHandlerDoesNotLeaveTheIconDeaf) {
  t->MouseDblClick = [](std::int16_t) { throw PlatformError("window gone"); };
  EXPECT_THROW(owner.deliverTrayCode(515), PlatformError);

  owner.deliverTrayCode(517);
  EXPECT_EQ(host.popups, 1);
}

}  // namespace
}  // namespace calvorin::tray
