#include "probes/registry_value.h"

#include <gtest/gtest.h>

#include "failure_matchers.h"
#include "platform/simulated/simulated_host.h"

namespace checker {
namespace {

using platform::FailsWith;
using platform::Holds;
using platform::kHkeyLocalMachine;
using platform::SimulatedHost;

constexpr char kKey[] = "Software\\Microsoft\\Office\\Common\\";
constexpr char kName[] = "LastAccessInstall";

std::string Bytes(const char* data, size_t size) { return std::string(data, size); }

struct ValueCase {
  const char* what;
  std::uint32_t type;
  std::string bytes;
  RegistryValue expected;
};

TEST(ReadRegistryValueTest, GivesTextsAndNumbersAndEmptyTextForTheRest) {
  const ValueCase cases[] = {
      {"number 11", 4, Bytes("\x0b\0\0\0", 4), RegistryValue(11)},
      {"negative number", 4, Bytes("\xff\xff\xff\xff", 4), RegistryValue(-1)},
      {"two-byte number", 4, Bytes("\x0c\0", 2), RegistryValue(12)},
      {"number of 8 bytes", 4, Bytes("\x0b\0\0\0\0\0\0\0", 8), RegistryValue("")},
      {"text with terminator", 1, Bytes("11.0\0", 5), RegistryValue("11.0")},
      {"text without terminator", 1, "11", RegistryValue("11")},
      {"text with inner NUL", 1, Bytes("12\0junk\0", 8), RegistryValue("12")},
      {"empty text", 1, Bytes("\0", 1), RegistryValue("")},
      {"zero-byte text", 1, "", RegistryValue("")},
      {"expandable text", 2, Bytes("11\0", 3), RegistryValue("")},
      {"raw bytes", 3, "11", RegistryValue("")},
      {"multi-text", 7, Bytes("11\0\0", 4), RegistryValue("")},
      {"type 0 with data", 0, "11", RegistryValue("")},
  };
  for (const ValueCase& c : cases) {
    SimulatedHost host;
    host.SetRegistryValue(kHkeyLocalMachine, kKey, kName, c.type, c.bytes);
    EXPECT_THAT(ReadRegistryValue(host, kHkeyLocalMachine, kKey, kName), Holds(c.expected))
        << c.what;
    EXPECT_EQ(host.open_registry_keys(), 0) << c.what;
  }
}

TEST(ReadRegistryValueTest, MissingKeyOrValueGivesEmptyText) {
  SimulatedHost no_key;
  EXPECT_THAT(ReadRegistryValue(no_key, kHkeyLocalMachine, kKey, kName), Holds(RegistryValue("")));

  SimulatedHost no_value;
  no_value.SetRegistryNumber(kHkeyLocalMachine, kKey, "Other", 11);
  EXPECT_THAT(ReadRegistryValue(no_value, kHkeyLocalMachine, kKey, kName),
              Holds(RegistryValue("")));
  EXPECT_EQ(no_value.open_registry_keys(), 0);
}

TEST(ReadRegistryValueTest, NumberZeroIsNotEmpty) {
  SimulatedHost host;
  host.SetRegistryNumber(kHkeyLocalMachine, kKey, kName, 0);
  const platform::Result<RegistryValue> value =
      ReadRegistryValue(host, kHkeyLocalMachine, kKey, kName);
  ASSERT_TRUE(value.ok());
  EXPECT_FALSE(value->IsEmptyText());
  EXPECT_EQ(value->Text(), "0");
}

TEST(ReadRegistryValueTest, LongTextsReadWholeUntilTheirNulPassesCharacter32767) {
  const std::string long_text(40000, '9');
  SimulatedHost without_nul;
  without_nul.SetRegistryValue(kHkeyLocalMachine, kKey, kName, 1, long_text);
  EXPECT_THAT(ReadRegistryValue(without_nul, kHkeyLocalMachine, kKey, kName),
              Holds(RegistryValue(long_text)));

  SimulatedHost nul_at_limit;
  nul_at_limit.SetRegistryText(kHkeyLocalMachine, kKey, kName, std::string(32766, '9'));
  EXPECT_THAT(ReadRegistryValue(nul_at_limit, kHkeyLocalMachine, kKey, kName),
              Holds(RegistryValue(std::string(32766, '9'))));

  // A NUL beyond character 32,767, and a text beyond 1 MiB, are overflows.
  for (const std::string& bytes : {std::string(32767, '9') + '\0', std::string(1048577, '9')}) {
    SimulatedHost beyond;
    beyond.SetRegistryValue(kHkeyLocalMachine, kKey, kName, 1, bytes);
    EXPECT_THAT(ReadRegistryValue(beyond, kHkeyLocalMachine, kKey, kName),
                FailsWith(platform::error::kArithmeticOverflow))
        << bytes.size();
  }
}

struct ChangeCase {
  const char* what;
  std::uint32_t type;
  std::string bytes;
  std::uint32_t new_type;  // 0: the value is removed
  std::string new_bytes;
  RegistryValue expected;
};

TEST(ReadRegistryValueTest, ValueChangingBetweenProbeAndReadGivesOnlyWhatWasRead) {
  const ChangeCase cases[] = {
      {"text grows", 1, Bytes("1\0", 2), 1, Bytes("12345\0", 6), RegistryValue("")},
      {"text shrinks", 1, Bytes("12345\0", 6), 1, Bytes("9\0", 2), RegistryValue("9")},
      {"text shrinks, no NUL", 1, Bytes("12345\0", 6), 1, "99", RegistryValue("99")},
      {"text removed", 1, Bytes("11\0", 3), 0, "", RegistryValue("")},
      {"text becomes a number", 1, Bytes("11\0\0", 4), 4, Bytes("\x0c\0\0\0", 4),
       RegistryValue("\x0c")},
      {"number removed", 4, Bytes("\x0b\0\0\0", 4), 0, "", RegistryValue("")},
      {"number grows", 4, Bytes("\x0b\0\0\0", 4), 4, Bytes("\x0b\0\0\0\0\0\0\0", 8),
       RegistryValue("")},
      {"number becomes a text", 4, Bytes("\x0b\0\0\0", 4), 1, Bytes("11\0", 3),
       RegistryValue(0x3131)},
  };
  for (const ChangeCase& c : cases) {
    SimulatedHost host;
    host.SetRegistryValue(kHkeyLocalMachine, kKey, kName, c.type, c.bytes);
    host.AfterNextSizeProbe([&] {
      if (c.new_type == 0) {
        host.RemoveRegistryValue(kHkeyLocalMachine, kKey, kName);
      } else {
        host.SetRegistryValue(kHkeyLocalMachine, kKey, kName, c.new_type, c.new_bytes);
      }
    });
    EXPECT_THAT(ReadRegistryValue(host, kHkeyLocalMachine, kKey, kName), Holds(c.expected))
        << c.what;
    EXPECT_EQ(host.open_registry_keys(), 0) << c.what;
  }
}

}  // namespace
}  // namespace checker
