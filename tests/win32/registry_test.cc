// The Win32 host's registry calls, alone and under ReadRegistryValue, on
// values the tests create under a key of their own in HKEY_LOCAL_MACHINE.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "failure_matchers.h"
#include "platform/win32/win32_host.h"
#include "probes/registry_value.h"
#include "test_support.h"

namespace {

using checker::ReadRegistryValue;
using checker::RegistryValue;
using platform::Holds;
using platform::kHkeyLocalMachine;

constexpr char kTestKey[] = "Software\\LauncherTests\\Win32HostRegistry";

std::string Dword(DWORD number) { return std::string(reinterpret_cast<char*>(&number), 4); }

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override { win32_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestKey); }
  void TearDown() override { win32_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestKey); }

  void Set(const char* name, DWORD type, const std::string& bytes) {
    win32_test::SetRegistryValue(HKEY_LOCAL_MACHINE, kTestKey, name, type, bytes);
  }

  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

struct ValueCase {
  const char* label;
  DWORD type;
  std::string bytes;
  RegistryValue expected;
};

TEST_F(RegistryTest, ReadsEachKindOfValue) {
  const ValueCase cases[] = {
      {"text with terminator", REG_SZ, std::string("11.0\0", 5), RegistryValue("11.0")},
      {"text without terminator", REG_SZ, "12", RegistryValue("12")},
      {"text with an inner NUL", REG_SZ, std::string("9\0x\0", 4), RegistryValue("9")},
      {"empty text", REG_SZ, std::string(1, '\0'), RegistryValue("")},
      {"8-bit text", REG_SZ, std::string("\xe9t\xe9\0", 4), RegistryValue("\xe9t\xe9")},
      {"number", REG_DWORD, Dword(11), RegistryValue(std::int32_t{11})},
      {"negative number", REG_DWORD, Dword(0xFFFFFFFF), RegistryValue(std::int32_t{-1})},
      {"2-byte number", REG_DWORD, std::string("\x0b\x00", 2), RegistryValue(std::int32_t{11})},
      {"8-byte number", REG_DWORD, std::string("\x0b\0\0\0\0\0\0\0", 8), RegistryValue("")},
      {"expandable text", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), RegistryValue("")},
      {"raw bytes", REG_BINARY, "\x01\x02\x03", RegistryValue("")},
  };
  for (const ValueCase& value : cases) {
    SCOPED_TRACE(value.label);
    Set("Value", value.type, value.bytes);
    EXPECT_THAT(ReadRegistryValue(*host_, kHkeyLocalMachine, kTestKey, "Value"),
                Holds(value.expected));
  }
}

TEST_F(RegistryTest, MissingValueOrKeyGivesEmptyText) {
  Set("Other", REG_SZ, std::string("1\0", 2));
  EXPECT_THAT(ReadRegistryValue(*host_, kHkeyLocalMachine, kTestKey, "Value"),
              Holds(RegistryValue("")));
  EXPECT_THAT(ReadRegistryValue(*host_, kHkeyLocalMachine,
                                (std::string(kTestKey) + "\\Missing").c_str(), "Other"),
              Holds(RegistryValue("")));
}

TEST_F(RegistryTest, KeyPathWithTrailingBackslashOpens) {
  Set("Value", REG_DWORD, Dword(16));
  EXPECT_THAT(
      ReadRegistryValue(*host_, kHkeyLocalMachine, (std::string(kTestKey) + "\\").c_str(), "Value"),
      Holds(RegistryValue(std::int32_t{16})));
}

TEST_F(RegistryTest, MissingKeyLeavesHandleAtZero) {
  platform::RegistryKey key = 12345;
  EXPECT_EQ(host_->OpenRegistryKey(kHkeyLocalMachine, (std::string(kTestKey) + "\\Missing").c_str(),
                                   &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0);
  EXPECT_NE(host_->CloseRegistryKey(0), ERROR_SUCCESS);
}

TEST_F(RegistryTest, MissingValueLeavesTypeAndSizeAlone) {
  Set("Other", REG_SZ, std::string("1\0", 2));
  platform::RegistryKey key = 0;
  ASSERT_EQ(host_->OpenRegistryKey(kHkeyLocalMachine, kTestKey, &key), ERROR_SUCCESS);
  ASSERT_NE(key, 0);
  std::uint32_t type = 77;
  std::uint32_t size = 88;
  EXPECT_EQ(host_->QueryRegistryValue(key, "Value", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(type, 77u);
  EXPECT_EQ(size, 88u);
  EXPECT_EQ(host_->CloseRegistryKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ProbeGivesTypeAndSizeAndSmallBufferGivesMoreData) {
  Set("Value", REG_SZ, std::string("11.0\0", 5));
  platform::RegistryKey key = 0;
  ASSERT_EQ(host_->OpenRegistryKey(kHkeyLocalMachine, kTestKey, &key), ERROR_SUCCESS);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(host_->QueryRegistryValue(key, "Value", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 5u);

  std::uint8_t buffer[8] = {};
  size = 2;
  EXPECT_EQ(host_->QueryRegistryValue(key, "Value", &type, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);

  size = sizeof(buffer);
  EXPECT_EQ(host_->QueryRegistryValue(key, "Value", &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::memcmp(buffer, "11.0", 5), 0);
  host_->CloseRegistryKey(key);
}

TEST_F(RegistryTest, KeyOpenedBelowAnOpenKey) {
  Set("Value", REG_DWORD, Dword(9));
  platform::RegistryKey software = 0;
  ASSERT_EQ(host_->OpenRegistryKey(kHkeyLocalMachine, "Software", &software), ERROR_SUCCESS);
  EXPECT_THAT(ReadRegistryValue(*host_, software, "LauncherTests\\Win32HostRegistry", "Value"),
              Holds(RegistryValue(std::int32_t{9})));
  host_->CloseRegistryKey(software);
}

}  // namespace
