#include "platform/simulated/simulated_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failure_matchers.h"

namespace platform {
namespace {

constexpr char kKey[] = "Software\\Vendor\\App";

TEST(SimulatedRegistryTest, MissingKeyGivesHandleZeroAndNotFound) {
  SimulatedHost host;
  RegistryKey key = 99;
  EXPECT_EQ(host.OpenRegistryKey(kHkeyLocalMachine, kKey, &key), kRegistryNotFound);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(host.CloseRegistryKey(0), kRegistryInvalidHandle);
}

TEST(SimulatedRegistryTest, KeysOpenCaseInsensitivelyWithTrailingBackslashAndParents) {
  SimulatedHost host;
  host.SetRegistryNumber(kHkeyLocalMachine, kKey, "V", 1);
  for (const char* path : {"software\\VENDOR\\app", "Software\\Vendor\\App\\", "Software"}) {
    RegistryKey key = 0;
    EXPECT_EQ(host.OpenRegistryKey(kHkeyLocalMachine, path, &key), kRegistrySuccess) << path;
    EXPECT_NE(key, 0) << path;
    EXPECT_EQ(host.CloseRegistryKey(key), kRegistrySuccess);
  }
  EXPECT_EQ(host.open_registry_keys(), 0);
}

TEST(SimulatedRegistryTest, MissingValueLeavesTypeAndSizeAlone) {
  SimulatedHost host;
  host.AddRegistryKey(kHkeyLocalMachine, kKey);
  RegistryKey key = 0;
  host.OpenRegistryKey(kHkeyLocalMachine, kKey, &key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(host.QueryRegistryValue(key, "Nothing", &type, nullptr, &size), kRegistryNotFound);
  EXPECT_EQ(type, 0u);
  EXPECT_EQ(size, 0u);
}

TEST(SimulatedRegistryTest, ProbeReportsTypeAndSizeAndSmallBufferGivesMoreData) {
  SimulatedHost host;
  host.SetRegistryValue(kHkeyLocalMachine, kKey, "Bytes", 3, std::string("\x01\x02\x03", 3));
  RegistryKey key = 0;
  host.OpenRegistryKey(kHkeyLocalMachine, kKey, &key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(host.QueryRegistryValue(key, "bytes", &type, nullptr, &size), kRegistrySuccess);
  EXPECT_EQ(type, 3u);
  EXPECT_EQ(size, 3u);

  std::uint8_t buffer[3] = {};
  size = 2;
  EXPECT_EQ(host.QueryRegistryValue(key, "Bytes", &type, buffer, &size), kRegistryMoreData);
  EXPECT_EQ(size, 3u);
  size = 3;
  EXPECT_EQ(host.QueryRegistryValue(key, "Bytes", &type, buffer, &size), kRegistrySuccess);
  EXPECT_EQ(buffer[2], 3);
}

TEST(SimulatedRegistryTest, ChangeAfterSizeProbeRunsOnceAfterTheFirstProbeOnly) {
  SimulatedHost host;
  host.SetRegistryText(kHkeyLocalMachine, kKey, "V", "1");
  int runs = 0;
  host.AfterNextSizeProbe([&] {
    ++runs;
    host.RemoveRegistryValue(kHkeyLocalMachine, kKey, "v");
  });
  RegistryKey key = 0;
  host.OpenRegistryKey(kHkeyLocalMachine, kKey, &key);
  std::uint32_t type = 0;
  std::uint32_t size = 8;
  std::uint8_t buffer[8] = {};
  // A read into a buffer is no size probe: the value is still there.
  EXPECT_EQ(host.QueryRegistryValue(key, "V", &type, buffer, &size), kRegistrySuccess);
  EXPECT_EQ(runs, 0);
  // The probe itself still sees the old value; the next query does not.
  EXPECT_EQ(host.QueryRegistryValue(key, "V", &type, nullptr, &size), kRegistrySuccess);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(host.QueryRegistryValue(key, "V", &type, nullptr, &size), kRegistryNotFound);
  EXPECT_EQ(runs, 1);
}

TEST(SimulatedTextInputTest, ReadsTheBytesAsTheyAreInPiecesOfAnySize) {
  const std::string bytes("[s]\r\n\xE9\0x\n", 9);
  SimulatedHost host;
  host.AddFile("C:\\f.ini", bytes);
  auto input = host.OpenTextInput("c:/F.INI");
  ASSERT_THAT(input, Succeeds());
  std::string read;
  char piece[4];
  for (;;) {
    Result<size_t> count = (*input)->Read(piece, sizeof(piece));
    ASSERT_THAT(count, Succeeds());
    if (*count == 0) break;
    read.append(piece, *count);
  }
  EXPECT_EQ(read, bytes);
}

TEST(SimulatedTextInputTest, MissingFileAndDirectoryFailToOpenAndFilesAreCounted) {
  SimulatedHost host;
  host.AddDirectory("C:\\dir");
  EXPECT_THAT(host.OpenTextInput("C:\\missing.ini"), FailsWith(error::kFileNotFound));
  EXPECT_THAT(host.OpenTextInput("C:\\dir"), FailsWith(error::kFileNotFound));
  EXPECT_FALSE(host.FileExists("C:\\dir"));

  host.AddFile("C:\\a.ini", "x");
  {
    auto input = host.OpenTextInput("C:\\a.ini");
    ASSERT_THAT(input, Succeeds());
    EXPECT_EQ(host.open_files(), 1);
  }
  EXPECT_EQ(host.open_files(), 0);

  host.SetFileReadFails("C:\\a.ini");
  auto input = host.OpenTextInput("C:\\a.ini");
  ASSERT_THAT(input, Succeeds());
  char byte;
  EXPECT_THAT((*input)->Read(&byte, 1), FailsWith(error::kGeneric));
}

TEST(SimulatedFileNameTest, DoubleByteCharacterIsNeitherLetterNorSeparator) {
  // In code page 932, 0x83 0x5C is "ソ", 0x83 0x41 "ア" and 0x83 0x61 "ヂ".
  const struct {
    const char* added;
    const char* asked;
    bool found;
  } cases[] = {
      {"C:\\\x83\x5C\\Setup.EXE", "c:/\x83\x5C/setup.exe", true},
      {"C:\\\x83\x41.exe", "C:\\\x83\x61.exe", false},
      {"C:\\\x83\x5C", "C:\\\x83", false},
  };
  for (const auto& c : cases) {
    SimulatedHost host;
    host.UseCodePage932();
    host.AddFile(c.added, "");
    EXPECT_EQ(host.FileExists(c.asked), c.found) << c.added << " asked as " << c.asked;
  }
  SimulatedHost host;
  host.UseCodePage932();
  EXPECT_EQ(host.LowerCase("AB\x83\x41"), "ab\x83\x41");
}

TEST(SimulatedProgramStartTest, RecordsStartsAndRefusesMissingPrograms) {
  SimulatedHost host;
  host.AddFile("C:\\Apps\\start.exe", "");
  EXPECT_THAT(host.StartProgram("c:\\apps\\START.EXE", "\"c:\\apps\\START.EXE\" /q", " /q"),
              Succeeds());
  ASSERT_EQ(host.started().size(), 1u);
  EXPECT_EQ(host.started()[0].command_line, "\"c:\\apps\\START.EXE\" /q");
  EXPECT_THAT(host.StartProgram("C:\\Apps\\other.exe", "x", ""), FailsWith(error::kFileNotFound));
  EXPECT_THAT(host.StartProgram("", "", ""), FailsWith(error::kFileNotFound));
  EXPECT_EQ(host.started().size(), 1u);
}

// The longest path and command line that start, and one character more.
TEST(SimulatedProgramStartTest, RefusesWhatCreateProcessARefuses) {
  const struct {
    size_t path_length;
    size_t command_line_length;
    std::int32_t error;  // 0: started
  } cases[] = {
      {259, 300, 0},
      {260, 300, error::kFilenameTooLong},
      {20, 32766, 0},
      {20, 32767, error::kInvalidParameter},
  };
  for (const auto& c : cases) {
    SimulatedHost host;
    const std::string program = "C:\\" + std::string(c.path_length - 7, 'p') + ".exe";
    host.AddFile(program, "");
    const std::string quoted = "\"" + program + "\"";
    const std::string arguments(c.command_line_length - quoted.size(), 'x');
    const Status started = host.StartProgram(program, quoted + arguments, arguments);
    if (c.error == 0) {
      EXPECT_THAT(started, Succeeds()) << c.path_length << " " << c.command_line_length;
    } else {
      EXPECT_THAT(started, FailsWith(c.error)) << c.path_length << " " << c.command_line_length;
    }
    EXPECT_EQ(host.started().size(), c.error == 0 ? 1u : 0u);
  }
}

TEST(SimulatedRunTest, ExitStatusIsZeroAtTheEndAndOneAfterTheErrorReport) {
  SimulatedHost ending;
  EXPECT_EQ(ending.Run([](Host&) { return Status(); }), 0);
  EXPECT_FALSE(ending.error_report().has_value());

  SimulatedHost failing;
  EXPECT_EQ(failing.Run([](Host&) { return Status(Failure(53, "gone")); }), 1);
  ASSERT_TRUE(failing.error_report().has_value());
  EXPECT_EQ(failing.error_report()->number(), 53);
  EXPECT_EQ(failing.error_report()->description(), "gone");
}

}  // namespace
}  // namespace platform
