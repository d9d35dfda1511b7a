#include "launcher/command_line.h"

#include <gtest/gtest.h>

#include "failure_matchers.h"
#include "platform/simulated/simulated_host.h"

namespace checker {
namespace {

using platform::FailsWith;
using platform::SimulatedHost;
using platform::Succeeds;

constexpr char kBlankDir[] = "C:\\Program Files\\Disc Tools\\";

struct ResolveCase {
  const char* what;
  std::vector<const char*> files;
  const char* directory;
  const char* launch_value;
  const char* program;
  const char* command_line;
};

void ExpectResolved(const ResolveCase& c, bool code_page_932) {
  SimulatedHost host;
  if (code_page_932) host.UseCodePage932();
  for (const char* file : c.files) host.AddFile(file, "");
  const platform::Result<ResolvedCommand> command =
      ResolveCommand(host, c.directory, c.launch_value);
  const char* const code_page = code_page_932 ? " (code page 932)" : "";
  ASSERT_THAT(command, Succeeds()) << c.what << code_page;
  EXPECT_EQ(command->program, c.program) << c.what << code_page;
  EXPECT_EQ(command->command_line, c.command_line) << c.what << code_page;
}

TEST(ResolveCommandTest, FindsTheProgramAsAnUnquotedCommandLineWouldAndQuotesIt) {
  const ResolveCase cases[] = {
      {"plain",
       {"C:\\Apps\\Launcher\\start.exe"},
       "C:\\Apps\\Launcher\\",
       "start.exe",
       "C:\\Apps\\Launcher\\start.exe",
       "\"C:\\Apps\\Launcher\\start.exe\""},
      {"drive root", {"D:\\start.exe"}, "D:\\", "start.exe", "D:\\start.exe", "\"D:\\start.exe\""},
      {"arguments kept",
       {"C:\\Apps\\setup.exe"},
       "C:\\Apps\\",
       "setup.exe /q",
       "C:\\Apps\\setup.exe",
       "\"C:\\Apps\\setup.exe\" /q"},
      {".exe appended",
       {"C:\\Apps\\setup.exe"},
       "C:\\Apps\\",
       "setup /q",
       "C:\\Apps\\setup.exe",
       "\"C:\\Apps\\setup.exe\" /q"},
      {"blank inside the value",
       {"C:\\Apps\\My Setup.exe"},
       "C:\\Apps\\",
       "My Setup.exe -x",
       "C:\\Apps\\My Setup.exe",
       "\"C:\\Apps\\My Setup.exe\" -x"},
      {"shortest prefix wins",
       {"C:\\Apps\\My.exe", "C:\\Apps\\My Setup.exe"},
       "C:\\Apps\\",
       "My Setup.exe",
       "C:\\Apps\\My.exe",
       "\"C:\\Apps\\My.exe\" Setup.exe"},
      {"subdirectory",
       {"C:\\Apps\\apps\\start.exe"},
       "C:\\Apps\\",
       "apps\\start.exe",
       "C:\\Apps\\apps\\start.exe",
       "\"C:\\Apps\\apps\\start.exe\""},
      {"extension in directory name only",
       {"C:\\Apps\\v1.2\\go.exe"},
       "C:\\Apps\\",
       "v1.2\\go",
       "C:\\Apps\\v1.2\\go.exe",
       "\"C:\\Apps\\v1.2\\go.exe\""},
      {"other extension kept",
       {"C:\\Apps\\run.bat"},
       "C:\\Apps\\",
       "run.bat a b",
       "C:\\Apps\\run.bat",
       "\"C:\\Apps\\run.bat\" a b"},
      {"double blank before arguments",
       {"C:\\Apps\\setup.exe"},
       "C:\\Apps\\",
       "setup.exe  /q",
       "C:\\Apps\\setup.exe",
       "\"C:\\Apps\\setup.exe\"  /q"},
      {"tab before arguments",
       {"C:\\Apps\\setup.exe"},
       "C:\\Apps\\",
       "setup.exe\t/q",
       "C:\\Apps\\setup.exe",
       "\"C:\\Apps\\setup.exe\"\t/q"},
      {"planted programs at every directory prefix ignored",
       {"C:\\Program.exe", "C:\\Program Files\\Disc.exe",
        "C:\\Program Files\\Disc Tools\\setup.exe"},
       kBlankDir,
       "setup.exe /q",
       "C:\\Program Files\\Disc Tools\\setup.exe",
       "\"C:\\Program Files\\Disc Tools\\setup.exe\" /q"},
  };
  // ASCII reads alike in a double-byte code page.
  for (const bool code_page_932 : {false, true}) {
    for (const ResolveCase& c : cases) ExpectResolved(c, code_page_932);
  }
}

TEST(ResolveCommandTest, DoubleByteCharacterIsNeitherSeparatorNorBlank) {
  // In code page 932, 0x83 0x5C is "ソ" and 0x83 0x63 0x81 0x5B 0x83 0x8B "ツール".
  const ResolveCase cases[] = {
      {"extension after a double-byte character",
       {"C:\\Apps\\a.\x83\x5C"},
       "C:\\Apps\\",
       "a.\x83\x5C /q",
       "C:\\Apps\\a.\x83\x5C",
       "\"C:\\Apps\\a.\x83\x5C\" /q"},
      {"subdirectory and directory ending in one",
       {"C:\\\x83\x5C\\\x83\x63\x81\x5B\x83\x8B\\probe.exe"},
       "C:\\\x83\x5C\\",
       "\x83\x63\x81\x5B\x83\x8B\\probe key",
       "C:\\\x83\x5C\\\x83\x63\x81\x5B\x83\x8B\\probe.exe",
       "\"C:\\\x83\x5C\\\x83\x63\x81\x5B\x83\x8B\\probe.exe\" key"},
  };
  for (const ResolveCase& c : cases) ExpectResolved(c, true);
}

TEST(ResolveCommandTest, NothingToStartIsAFailure) {
  struct Case {
    const char* what;
    const char* launch_value;
  };
  const Case cases[] = {
      {"empty value: only the directory", ""},
      {"missing program", "missing.exe /q"},
      {"only blanks", "   "},
      // The directory alone would name C:\Program.exe; it must not be tried.
      {"planted program only", "nothing.exe"},
  };
  for (const Case& c : cases) {
    SimulatedHost host;
    host.AddFile("C:\\Program.exe", "");
    host.AddFile("C:\\Program Files\\Disc.exe", "");
    host.AddDirectory("C:\\Program Files\\Disc Tools");
    EXPECT_THAT(ResolveCommand(host, kBlankDir, c.launch_value),
                FailsWith(platform::error::kFileNotFound))
        << c.what;
  }
}

TEST(ResolveCommandTest, ADirectoryIsNotAProgram) {
  SimulatedHost host;
  host.AddDirectory("C:\\Apps\\tools.exe");
  EXPECT_THAT(ResolveCommand(host, "C:\\Apps\\", "tools.exe"),
              FailsWith(platform::error::kFileNotFound));
}

TEST(StartLaunchValueTest, StartsTheResolvedProgramWithItsArguments) {
  SimulatedHost host;
  host.AddFile("C:\\Program Files\\Disc.exe", "");
  host.AddFile("C:\\Program Files\\Disc Tools\\setup.exe", "");
  EXPECT_THAT(StartLaunchValue(host, kBlankDir, "setup.exe /q"), Succeeds());
  ASSERT_EQ(host.started().size(), 1u);
  EXPECT_EQ(host.started()[0].program, "C:\\Program Files\\Disc Tools\\setup.exe");
  EXPECT_EQ(host.started()[0].command_line, "\"C:\\Program Files\\Disc Tools\\setup.exe\" /q");
  EXPECT_EQ(host.started()[0].arguments, " /q");
}

}  // namespace
}  // namespace checker
