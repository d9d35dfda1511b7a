#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failure_matchers.h"
#include "launcher/launch_selection.h"
#include "platform/line_reader.h"
#include "platform/simulated/simulated_host.h"
#include "temp_directory.h"

namespace platform {
namespace {

using launchcheck::testing::TempDirectory;

std::vector<std::string> ReadAll(Host& host, const std::string& path) {
  Result<std::unique_ptr<TextInput>> input = host.OpenTextInput(path);
  EXPECT_THAT(input, Succeeds());
  if (!input.ok()) return {};
  LineReader reader([&input](char* buffer, size_t size) { return (*input)->Read(buffer, size); });
  std::vector<std::string> lines;
  while (!*reader.AtEnd()) lines.emplace_back(*reader.ReadLine());
  return lines;
}

TEST(MapDirectoryTest, FindsNativeFilesWhateverTheCaseAndSeparator) {
  TempDirectory disc;
  disc.Write("Apps/Office/Setup.EXE", "");
  disc.Write("start.exe", "");
  SimulatedHost host;
  host.MapDirectory("E:\\Disc", disc.path());
  struct Case {
    const char* path;
    bool exists;
  };
  const Case cases[] = {
      {"E:\\Disc\\start.exe", true},
      {"e:/disc/START.exe", true},
      {"E:\\DISC\\apps\\office\\setup.exe", true},
      {"E:\\Disc\\Apps\\.\\Office\\\\Setup.EXE", true},
      {"E:\\Disc\\Apps\\..\\start.exe", true},
      {"E:\\Disc\\..\\Disc\\start.exe", false},  // leaves the mapped tree
      {"E:\\Disc\\Apps", false},                 // a directory, not a file
      {"E:\\Disc", false},
      {"E:\\Disc\\missing.exe", false},
      {"E:\\Disc\\Apps\\Office\\Setup.EXE\\x", false},
      {"E:\\Discs\\start.exe", false},
      {"F:\\Disc\\start.exe", false},
  };
  for (const Case& c : cases) EXPECT_EQ(host.FileExists(c.path), c.exists) << c.path;
}

TEST(MapDirectoryTest, DoubleByteCharacterEndingInBackslashIsOneCharacter) {
  // "ソ" (0x83 0x5C) in code page 932.
  TempDirectory disc;
  disc.Write("\x83\x5C/start.exe", "");
  SimulatedHost host;
  host.UseCodePage932();
  host.MapDirectory("E:\\Disc \x83\x5C", disc.path());
  EXPECT_TRUE(host.FileExists("E:\\Disc \x83\x5C\\\x83\x5C\\START.exe"));
  EXPECT_TRUE(host.FileExists("e:/disc \x83\x5C/\x83\x5C/start.exe"));
  EXPECT_FALSE(host.FileExists("E:\\Disc \x83\x5C\\start.exe"));
}

TEST(MapDirectoryTest, DriveRootMapsEveryPathOnThatDrive) {
  TempDirectory disc;
  disc.Write("launch.ini", "x");
  SimulatedHost host;
  host.MapDirectory("D:\\", disc.path());
  EXPECT_TRUE(host.FileExists("D:\\launch.ini"));
  EXPECT_TRUE(host.FileExists("d:/LAUNCH.INI"));
  EXPECT_FALSE(host.FileExists("C:\\launch.ini"));
}

TEST(MapDirectoryTest, ReadsLinesAsTheHostDoesAndClosesTheFile) {
  TempDirectory disc;
  disc.Write("launch.ini", "[a]\r\n1=x\ny\r2=z");
  SimulatedHost host;
  host.MapDirectory("C:\\Disc", disc.path());
  {
    auto input = host.OpenTextInput("C:\\Disc\\Launch.ini");
    ASSERT_THAT(input, Succeeds());
    EXPECT_EQ(host.open_files(), 1);
  }
  EXPECT_EQ(host.open_files(), 0);
  EXPECT_EQ(ReadAll(host, "C:\\Disc\\launch.ini"),
            (std::vector<std::string>{"[a]", "1=x\ny", "2=z"}));
}

TEST(MapDirectoryTest, LongFileIsStreamedWholeAcrossChunks) {
  // Longer than one read chunk, with a line that spans the chunk boundary.
  TempDirectory disc;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += std::to_string(i) + "=value\r\n";
  disc.Write("big.ini", bytes);
  SimulatedHost host;
  host.MapDirectory("C:\\Disc", disc.path());
  const auto lines = ReadAll(host, "C:\\Disc\\big.ini");
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines[12345], "12345=value");
  EXPECT_EQ(lines.back(), "19999=value");
}

TEST(MapDirectoryTest, DirectoriesAndMissingFilesFailToOpen) {
  TempDirectory disc;
  disc.Write("apps/a.exe", "");
  SimulatedHost host;
  host.MapDirectory("C:\\Disc", disc.path());
  EXPECT_THAT(host.OpenTextInput("C:\\Disc\\apps"), FailsWith(error::kFileNotFound));
  EXPECT_THAT(host.OpenTextInput("C:\\Disc\\launch.ini"), FailsWith(error::kFileNotFound));
  EXPECT_EQ(host.open_files(), 0);
}

TEST(MapDirectoryTest, AddedFilesTakePrecedenceAndProgramsStartOnlyWhenTheyExist) {
  TempDirectory disc;
  disc.Write("launch.ini", "native");
  disc.Write("start.exe", "");
  SimulatedHost host;
  host.MapDirectory("C:\\Disc", disc.path());
  host.AddFile("C:\\Disc\\launch.ini", "added");
  EXPECT_EQ(ReadAll(host, "C:\\Disc\\launch.ini"), std::vector<std::string>{"added"});
  EXPECT_THAT(host.StartProgram("C:\\Disc\\START.exe", "\"C:\\Disc\\START.exe\"", ""), Succeeds());
  EXPECT_THAT(host.StartProgram("C:\\Disc\\gone.exe", "\"C:\\Disc\\gone.exe\"", ""),
              FailsWith(error::kFileNotFound));
  EXPECT_EQ(host.started().size(), 1u);
}

TEST(UseProbesOfTest, RegistryVersionAutomationAndCodePageComeFromTheOtherHost) {
  SimulatedHost real;
  real.SetVersion(5, 1, 2600, 2);
  real.SetRegistryNumber(kHkeyLocalMachine, checker::kOfficeKeyPath, checker::kOfficeValueName, 11);
  real.AddAutomationClass("word.application", {"12.0"});
  real.AddFile("C:\\real.ini", "x");

  real.UseCodePage932();

  SimulatedHost host;
  host.SetVersion(6, 1, 7601, 2);
  host.UseProbesOf(real);
  // The code page too: "ア" (0x83 0x41) keeps its second byte.
  EXPECT_EQ(host.LowerCase("A\x83\x41"), "a\x83\x41");

  VersionRecord version;
  version.size = sizeof(version);
  ASSERT_TRUE(host.ReadVersion(&version));
  EXPECT_EQ(version.major, 5u);
  EXPECT_EQ(version.build, 2600u);

  RegistryKey key = 0;
  EXPECT_EQ(host.OpenRegistryKey(kHkeyLocalMachine, checker::kOfficeKeyPath, &key),
            kRegistrySuccess);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(host.QueryRegistryValue(key, checker::kOfficeValueName, &type, nullptr, &size),
            kRegistrySuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(real.open_registry_keys(), 1);
  EXPECT_EQ(host.CloseRegistryKey(key), kRegistrySuccess);
  EXPECT_EQ(real.open_registry_keys(), 0);

  Result<AutomationObject*> word = host.CreateAutomationObject("word.application");
  ASSERT_THAT(word, Succeeds());
  EXPECT_THAT((*word)->GetTextProperty("version"), Holds("12.0"));
  EXPECT_EQ(real.automation_objects().size(), 1u);

  // Files and starts stay with the simulated host.
  EXPECT_FALSE(host.FileExists("C:\\real.ini"));
  host.AddFile("C:\\go.exe", "");
  EXPECT_THAT(host.StartProgram("C:\\go.exe", "\"C:\\go.exe\"", ""), Succeeds());
  EXPECT_TRUE(real.started().empty());
  EXPECT_EQ(host.started().size(), 1u);
}

}  // namespace
}  // namespace platform
