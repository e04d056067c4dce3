#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "autostart/reg.h"
#include "platform/win32/advapi_registry.h"
#include "platform/win32/handles.h"

namespace calvorin {
namespace {

constexpr char kTestKey[] = "SOFTWARE\\Calvorin Tests";
constexpr auto kRoot = platform::kHkeyLocalMachine;

class RegistryAdapterTest : public ::testing::Test {
 protected:
  RegistryAdapterTest() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey); }
  ~RegistryAdapterTest() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey); }

  void plant(const char* name, DWORD type, const std::string& data) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kTestKey, &created), ERROR_SUCCESS);
    const win32::UniqueKey key(created);
    ASSERT_EQ(RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }

  std::string read(const char* name) { return reg.GetRegValue(kRoot, kTestKey, name); }

  win32::AdvapiRegistry registry;
  autostart::Reg reg{registry};
};

TEST_F(RegistryAdapterTest, MissingKeysAndValuesReadAsNotFound) {
  EXPECT_EQ(read("Calvorin"), "Not Found");
  plant("Other", REG_SZ, std::string("x\0", 2));
  EXPECT_EQ(read("Calvorin"), "Not Found");
}

TEST_F(RegistryAdapterTest, TheBufferHolds2048BytesAndNoMore) {
  plant("full", REG_BINARY, std::string(2048, '\x11'));
  plant("over", REG_BINARY, std::string(2049, '\x11'));

  EXPECT_EQ(read("full").size(), 4096u);
  EXPECT_EQ(read("over"), "Not Found");
}

// The formatting itself is the unit tier's (RegFormatting): here, that the
// adapter hands each type and its bytes through as stored, unexpanded.
TEST_F(RegistryAdapterTest, HandsEachTypeAndItsBytesThroughAsStored) {
  plant("answer", REG_DWORD, std::string("\x2A\0\0\0", 4));
  plant("bytes", REG_BINARY, "\x0A\xFF\x01");
  plant("expand", REG_EXPAND_SZ, std::string("%windir%\\winhlp32\0", 18));
  plant("multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));

  EXPECT_EQ(read("answer"), "042");
  EXPECT_EQ(read("bytes"), "0AFF01");
  EXPECT_EQ(read("expand"), "%windir%\\winhlp32");
  EXPECT_EQ(read("multi"), std::string("one\0two\0", 8));
}

TEST_F(RegistryAdapterTest, AWriteCreatesTheKeyPathAndReadsBack) {
  const std::string deep = std::string(kTestKey) + "\\deeper\\still";

  EXPECT_EQ(reg.SetRegValue(kRoot, deep, "Calvorin", platform::kRegSz, "C:\\Calvorin.exe"), 0);
  EXPECT_EQ(reg.GetRegValue(kRoot, deep, "Calvorin"), "C:\\Calvorin.exe");

  char data[64] = {};
  DWORD length = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(
      RegGetValueA(HKEY_LOCAL_MACHINE, deep.c_str(), "Calvorin", RRF_RT_ANY, &type, data, &length),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(length, 16u) << "the text and its NUL";
}

TEST_F(RegistryAdapterTest, DeletingIsSilentForMissingValuesAndKeys) {
  plant("Calvorin", REG_SZ, std::string("x\0", 2));

  EXPECT_EQ(reg.DeleteRegValue(kRoot, kTestKey, "Calvorin"), 0);
  EXPECT_EQ(read("Calvorin"), "Not Found");
  EXPECT_EQ(reg.DeleteRegValue(kRoot, kTestKey, "Calvorin"), 0);
  EXPECT_EQ(reg.DeleteRegValue(kRoot, "SOFTWARE\\Calvorin Nowhere", "Calvorin"), 0);
}

}  // namespace
}  // namespace calvorin
