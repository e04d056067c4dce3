#include "autostart/reg.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"

namespace calvorin::autostart {
namespace {

using fakes::FakeRegistry;
using platform::kHkeyLocalMachine;

constexpr char kKey[] = "SOFTWARE\\Calvorin Test";

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string formatted(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  return formatRegistryData(type, data.data(), static_cast<std::uint32_t>(data.size()));
}

TEST(RegFormatting, DwordsHaveAtLeastThreeDigits) {
  EXPECT_EQ(formatted(4, {0, 0, 0, 0}), "000");
  EXPECT_EQ(formatted(4, {7, 0, 0, 0}), "007");
  EXPECT_EQ(formatted(4, {42, 0, 0, 0}), "042");
  EXPECT_EQ(formatted(4, {255, 0, 0, 0}), "255");
  EXPECT_EQ(formatted(4, {0xD2, 0x04, 0, 0}), "1234");
  EXPECT_EQ(formatted(4, {0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
}

TEST(RegFormatting, ADwordShorterThanFourBytesCountsOnlyItsBytes) {
  EXPECT_EQ(formatted(4, {0x34, 0x12}), "4660");
  EXPECT_EQ(formatted(4, {9}), "009");
  EXPECT_EQ(formatted(4, {}), "000");
  EXPECT_EQ(formatted(4, {1, 0, 0, 0, 0xFF, 0xFF}), "001");
}

TEST(RegFormatting, BinaryIsUpperCaseHexInStorageOrder) {
  EXPECT_EQ(formatted(3, {0x0A, 0xFF, 0x01}), "0AFF01");
  EXPECT_EQ(formatted(3, {0x00}), "00");
  EXPECT_EQ(formatted(3, {}), "");
}

TEST(RegFormatting, OtherTypesAreTheTextLessItsLastByte) {
  EXPECT_EQ(formatted(1, bytes(std::string("C:\\Calvorin.exe") + '\0')), "C:\\Calvorin.exe");
  EXPECT_EQ(formatted(1, {0}), "");
  EXPECT_EQ(formatted(1, {}), "");
  EXPECT_EQ(formatted(2, bytes(std::string("%windir%\\x") + '\0')), "%windir%\\x");
  EXPECT_EQ(formatted(7, bytes(std::string("a\0b\0\0", 5))), std::string("a\0b\0", 4));
  EXPECT_EQ(formatted(0, {'x', 'y'}), "x");
}

class RegTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  Reg reg{registry};
};

TEST_F(RegTest, ReadsAValueAndClosesItsKey) {
  registry.put(kKey, "Calvorin", 1, bytes(std::string("C:\\Tools\\Calvorin.exe") + '\0'));

  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "Calvorin"), "C:\\Tools\\Calvorin.exe");
  EXPECT_EQ(registry.calls, (std::vector<std::string>{"open SOFTWARE\\Calvorin Test",
                                                      "query Calvorin 2048", "close 256"}));
}

TEST_F(RegTest, AMissingKeyOrValueReadsAsNotFoundAndOnlyAnOpenedKeyIsClosed) {
  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "Calvorin"), "Not Found");
  EXPECT_EQ(registry.calls,
            (std::vector<std::string>{"open SOFTWARE\\Calvorin Test", "query Calvorin 2048"}));

  registry.put(kKey, "Other", 1, {0});
  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "Calvorin"), "Not Found");
  EXPECT_EQ(registry.calls.back(), "close 256");
}

TEST_F(RegTest, DataOfExactly2048BytesIsReadAndLongerDataIsNotFound) {
  std::vector<std::uint8_t> full(2048, 'a');
  full.back() = 0;
  registry.put(kKey, "full", 1, full);
  registry.put(kKey, "over", 1, std::vector<std::uint8_t>(2049, 'a'));

  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "full"), std::string(2047, 'a'));
  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "over"), "Not Found");
}

TEST_F(RegTest, ALengthBeyondTheBufferIsNeverReadPast) {
  registry.put(kKey, "binary", 3, std::vector<std::uint8_t>(2048, 0xAB));
  registry.overstateLength = true;

  EXPECT_EQ(reg.GetRegValue(kHkeyLocalMachine, kKey, "binary").size(), 4096u);
}

TEST_F(RegTest, WritesTheTextWithItsNulAsRegSzInOrder) {
  EXPECT_EQ(reg.SetRegValue(kHkeyLocalMachine, kKey, "Calvorin", 1, "C:\\A\\Calvorin.exe"), 0);

  const auto* value = registry.find(kKey, "Calvorin");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, 1u);
  EXPECT_EQ(value->data, bytes(std::string("C:\\A\\Calvorin.exe") + '\0'));
  EXPECT_EQ(registry.calls, (std::vector<std::string>{"create SOFTWARE\\Calvorin Test",
                                                      "set Calvorin", "flush 256", "close 256"}));
}

TEST_F(RegTest, ARefusedWriteAttemptsEveryStepAndReportsTheRefusal) {
  registry.failCreateWith = platform::kErrorAccessDenied;

  EXPECT_EQ(reg.SetRegValue(kHkeyLocalMachine, kKey, "Calvorin", 1, "x"),
            platform::kErrorAccessDenied);
  EXPECT_EQ(registry.calls, (std::vector<std::string>{"create SOFTWARE\\Calvorin Test",
                                                      "set Calvorin", "flush 0"}));
}

TEST_F(RegTest, DeletingLeavesTheValueAbsentAndAMissingOneCountsAsDone) {
  registry.put(kKey, "Calvorin", 1, {0});
  EXPECT_EQ(reg.DeleteRegValue(kHkeyLocalMachine, kKey, "Calvorin"), 0);
  EXPECT_EQ(registry.find(kKey, "Calvorin"), nullptr);
  EXPECT_EQ(reg.DeleteRegValue(kHkeyLocalMachine, kKey, "Calvorin"), 0);
  EXPECT_EQ(reg.DeleteRegValue(kHkeyLocalMachine, "SOFTWARE\\Nowhere", "Calvorin"), 0);
  EXPECT_EQ(registry.calls.back(), "delete Calvorin");
}

TEST_F(RegTest, ARefusedDeleteIsReported) {
  registry.failOpenWith = platform::kErrorAccessDenied;

  EXPECT_EQ(reg.DeleteRegValue(kHkeyLocalMachine, kKey, "Calvorin"), platform::kErrorAccessDenied);
  EXPECT_EQ(registry.calls,
            (std::vector<std::string>{"open SOFTWARE\\Calvorin Test", "delete Calvorin"}));
}

}  // namespace
}  // namespace calvorin::autostart
