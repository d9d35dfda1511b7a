#include "launchcheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "encoding.h"
#include "json_report.h"
#include "launcher/launch_selection.h"
#include "platform/simulated/simulated_host.h"
#include "run_tool.h"
#include "temp_directory.h"

namespace launchcheck {
namespace {

using testing::RunTool;
using testing::TempDirectory;
using testing::ToolRun;

constexpr char kIni[] =
    "[winxpLaunchFiles]\r\n"
    "11=apps\\office2003\\setup.exe /q\r\n"
    "12=apps\\office2007\\setup.exe\r\n"
    "[win98LaunchFiles]\r\n"
    "9=apps\\legacy\\start.exe\r\n"
    "[defaultLaunchFiles]\r\n"
    "12=apps\\office2007\\setup.exe\r\n"
    "default=apps\\start.exe\r\n";

// A disc with the launch.ini above and every program it names.
class LaunchcheckTest : public ::testing::Test {
 protected:
  LaunchcheckTest() {
    disc_.Write("launch.ini", kIni);
    for (const char* program : {"apps/office2003/setup.exe", "apps/Office2007/SETUP.exe",
                                "apps/legacy/start.exe", "apps/start.exe"}) {
      disc_.Write(program, "");
    }
  }

  ToolRun Run(std::vector<std::string> args) {
    args.push_back(disc_.path().string());
    return RunTool(args);
  }

  TempDirectory disc_;
};

TEST_F(LaunchcheckTest, OneHostPrintsTheJoinedCommandLineOnly) {
  struct Case {
    std::vector<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {{"--os", "5.1", "--office", "11"}, "D:\\apps\\office2003\\setup.exe /q\n"},
      {{"--os", "5.1.2600.2", "--office-text", "12"}, "D:\\apps\\office2007\\setup.exe\n"},
      {{"--os", "5.1", "--word", "12.0.4518"}, "D:\\apps\\office2007\\setup.exe\n"},
      {{"--os", "4.10", "--word", "9.0"}, "D:\\apps\\legacy\\start.exe\n"},
      {{"--os", "6.1", "--office", "12"}, "D:\\apps\\office2007\\setup.exe\n"},  // default label
      {{"--os", "5.0", "--office", "11"}, "D:\\apps\\start.exe\n"},              // default entry
      {{"--os", "5.1", "--office-text", "11.0"}, "D:\\apps\\start.exe\n"},       // used whole
      {{"--os", "5.1"}, "D:\\apps\\start.exe\n"},                                // no Office
      {{"--office", "11"}, "D:\\apps\\start.exe\n"},  // 0.0: winnt, no entry for it
      {{"--os", "5.1", "--office-text", "Office"}, "D:\\apps\\start.exe\n"},  // not numeric
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--dir", "D:\\"});
    const ToolRun run = Run(args);
    EXPECT_EQ(run.status, 0) << args[1];
    EXPECT_EQ(run.out, c.out) << args[1];
    EXPECT_EQ(run.err, "") << args[1];
  }
}

TEST_F(LaunchcheckTest, InstallDirectoryDefaultsToDirMadeAbsoluteInWindowsSpelling) {
  const ToolRun run = Run({"--os", "5.1", "--office", "11"});
  EXPECT_EQ(run.status, 0);
  std::string dir = std::filesystem::absolute(disc_.path()).make_preferred().string();
  if (dir.front() == '/') dir = "Z:" + dir;  // the root elsewhere than on Windows
  std::replace(dir.begin(), dir.end(), '/', '\\');
  EXPECT_EQ(run.out, dir + "\\apps\\office2003\\setup.exe /q\n");
}

// At the longest command line CreateProcessA takes the launcher starts the
// entry; one character more and it falls back, as on Windows.
TEST_F(LaunchcheckTest, CommandLineBeyondTheLimitFallsBackToTheDefaultEntry) {
  for (const size_t length : {32766u, 32767u}) {
    // "C:\D\apps\start.exe" quoted, a blank, then the arguments.
    const std::string arguments(length - 22, 'a');
    disc_.Write("launch.ini", std::string(kIni) + "[winxpLaunchFiles]\r\n20=apps\\start.exe " +
                                  arguments + "\r\n");
    const ToolRun run =
        Run({"--os", "5.1", "--office", "20", "--dir", "C:\\D", "--format", "json"});
    const std::string started = length == 32766 ? "primary" : "fallback";
    EXPECT_EQ(run.out.rfind("{\"label\": \"winxp\", \"path\": \"" + started + "\"", 0), 0u)
        << length;
    EXPECT_EQ(run.status, 0);
  }
}

TEST_F(LaunchcheckTest, JsonGivesTheRowsAndFindingsOrOneRun) {
  disc_.Write("launch.ini", std::string(kIni) + "[winxpLaunchFiles]\r\n 13=a \"b\"\r\n");
  const ToolRun table = Run({"--dir", "C:\\D", "--format", "json"});
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(table.err, "");
  const std::string file = (disc_.path() / "launch.ini").string();
  EXPECT_EQ(table.out.rfind("{\n  \"rows\": [\n    {\"label\": \"win98\", \"office\": 8, \"path\": "
                            "\"default\", \"command_line\": \"C:\\\\D\\\\apps\\\\start.exe\", "
                            "\"error_report\": null},\n",
                            0),
            0u)
      << table.out;
  const std::string findings =
      "\n  ],\n  \"findings\": [\n    {\"file\": " + JsonString(file, *FindCodePage(1252)) +
      ", \"line\": 10, \"kind\": \"blank-before-key\", \"message\": "
      "\"blank before the key: this line never matches\"}\n  ]\n}\n";
  EXPECT_EQ(table.out.substr(table.out.size() - std::min(table.out.size(), findings.size())),
            findings);
  EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 7 + 7 * 9);  // 63 rows

  disc_.Write("launch.ini", "[winxpLaunchFiles]\r\n11=gone.exe\r\n");
  const ToolRun one = Run({"--os", "5.1", "--office", "11", "--dir", "C:\\D", "--format=json"});
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(
      one.out,
      "{\"label\": \"winxp\", \"path\": \"fallback\", \"command_line\": null, "
      "\"error_report\": {\"number\": 2, \"description\": \"cannot start C:\\\\D\\\\: no such "
      "program\"}}\n");
  EXPECT_EQ(one.err, "");
}

TEST_F(LaunchcheckTest, OptionsGoBeforeOrAfterDirAndDashDashEndsThem) {
  const std::string dir = disc_.path().string();
  const std::string expected = "C:\\Disc\\apps\\office2003\\setup.exe /q\n";
  for (const std::vector<std::string>& args : {
           std::vector<std::string>{dir, "--os", "5.1", "--office=11", "--dir=C:\\Disc"},
           std::vector<std::string>{"--os=5.1", "--dir", "C:\\Disc", "--office", "11", "--", dir},
       }) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
  }
}

TEST_F(LaunchcheckTest, ErrorReportGoesToStandardErrorWithStatusOne) {
  disc_.Write("launch.ini", "[winxpLaunchFiles]\r\n11=gone.exe\r\n");
  const ToolRun run = Run({"--os", "5.1", "--office", "11", "--dir", "C:\\Disc"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "error report: error 2: cannot start C:\\Disc\\: no such program\n");
}

TEST_F(LaunchcheckTest, ExplainShowsEveryStepOnStandardError) {
  const ToolRun primary =
      Run({"--os", "5.1.2600.2", "--office", "11", "--dir", "C:\\Disc", "--explain"});
  EXPECT_EQ(primary.status, 0);
  EXPECT_EQ(primary.out, "C:\\Disc\\apps\\office2003\\setup.exe /q\n");
  EXPECT_EQ(primary.err,
            "detected: office version (Label1) = \"11\"\n"
            "detected: build (Label2) = \"2600\"\n"
            "detected: major version (Label3) = \"5\"\n"
            "detected: minor version (Label4) = \"1\"\n"
            "detected: platform (Label5) = \"2\"\n"
            "label: winxp\n"
            "lookup: [winxpLaunchFiles] key \"11\" gives \"apps\\office2003\\setup.exe /q\"\n"
            "path: primary\n"
            "program: \"C:\\Disc\\apps\\office2003\\setup.exe\"\n"
            "arguments: \" /q\"\n");

  const ToolRun fallback = Run({"--os", "5.0", "--dir", "C:\\Disc", "--explain"});
  EXPECT_EQ(fallback.status, 0);
  EXPECT_NE(fallback.err.find("detected: office version (Label1) = \"\"\n"), std::string::npos);
  // The probe failed before the host was labelled.
  EXPECT_NE(fallback.err.find("detected: build (Label2) = (not written)\n"), std::string::npos);
  EXPECT_NE(fallback.err.find("label: (not written)\n"), std::string::npos);
  EXPECT_NE(fallback.err.find("failed: error -2147221005: cannot create object "
                              "\"word.application\"\npath: fallback\n"
                              "lookup: [defaultLaunchFiles] key \"default\" gives "
                              "\"apps\\start.exe\"\n"),
            std::string::npos)
      << fallback.err;

  const ToolRun by_default = Run({"--os", "5.0", "--office", "11", "--explain", "--dir", "E:\\"});
  EXPECT_NE(by_default.err.find("lookup: [win2kLaunchFiles] key \"11\" gives nothing\n"
                                "lookup: [defaultLaunchFiles] key \"default\" gives "
                                "\"apps\\start.exe\"\npath: default\n"
                                "program: \"E:\\apps\\start.exe\"\narguments: \"\"\n"),
            std::string::npos)
      << by_default.err;
}

TEST_F(LaunchcheckTest, TableShowsEveryLabelAndVersionFromTheLaunchersOwnRuns) {
  disc_.Write("launch.ini", std::string(kIni) + "[winxpLaunchFiles]\r\n20=apps\\start.exe\r\n" +
                                "[winmeLaunchFiles]\r\n11.0=apps\\legacy\\start.exe\r\n");
  const ToolRun run = Run({"--dir", "C:\\Disc"});
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> rows;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  // A header, then 7 labels x (8..16, "11.0", 20).
  ASSERT_EQ(rows.size(), 1u + 7u * 11u);
  EXPECT_EQ(rows[0], "label     office  path      starts");
  auto row = [&](const std::string& start) {
    for (const std::string& r : rows) {
      if (r.rfind(start, 0) == 0) return r;
    }
    return std::string("(missing)");
  };
  EXPECT_EQ(row("win98     8 "), "win98     8       default   C:\\Disc\\apps\\start.exe");
  EXPECT_EQ(row("win98     9 "), "win98     9       primary   C:\\Disc\\apps\\legacy\\start.exe");
  EXPECT_EQ(row("winxp     11 "),
            "winxp     11      primary   C:\\Disc\\apps\\office2003\\setup.exe /q");
  EXPECT_EQ(row("winme     \"11.0\""),
            "winme     \"11.0\"  primary   C:\\Disc\\apps\\legacy\\start.exe");
  EXPECT_EQ(row("winxp     20 "), "winxp     20      primary   C:\\Disc\\apps\\start.exe");
  EXPECT_EQ(row("default   12 "),
            "default   12      primary   C:\\Disc\\apps\\office2007\\setup.exe");
  EXPECT_EQ(row("winvista  16 "), "winvista  16      default   C:\\Disc\\apps\\start.exe");
  // Rows come in label order, versions in numeric order within each.
  EXPECT_EQ(rows[1].substr(0, 13), "win98     8  ");
  EXPECT_EQ(rows[4].substr(0, 16), "win98     11    ");
  EXPECT_EQ(rows[5].substr(0, 16), "win98     \"11.0\"");
  EXPECT_EQ(rows[11].substr(0, 16), "win98     20    ");
  EXPECT_EQ(rows[12].substr(0, 13), "winme     8  ");
  EXPECT_EQ(rows.back().substr(0, 16), "default   20    ");
  EXPECT_EQ(run.err, "");  // a clean launch.ini has no findings
}

TEST_F(LaunchcheckTest, TableShowsTheErrorReportWhereNothingStarts) {
  disc_.Write("launch.ini", "[winxpLaunchFiles]\r\n11=apps\\start.exe\r\n");
  const ToolRun run = Run({"--dir", "C:\\Disc"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("winxp     11      primary   C:\\Disc\\apps\\start.exe\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("winxp     12      fallback  nothing: error report, error 2: cannot "
                         "start C:\\Disc\\: no such program\n"),
            std::string::npos);
}

TEST(JsonStringTest, EscapesAndReadsBytesThatAreNotUtf8InTheCodePage) {
  const struct {
    std::string text;
    std::string json;
  } cases[] = {
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"\x01\n\t\x7F", "\"\\u0001\\n\\t\\u007f\""},
      {"B\xC3\xBCro", "\"B\xC3\xBCro\""},                // UTF-8 stays
      {"B\xFCro \x80", "\"B\xC3\xBCro \xE2\x82\xAC\""},  // Windows-1252
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text, *FindCodePage(1252)), c.json);
}

TEST(DetectEncodingTest, TellsUtf16ByItsMarkOrItsNuls) {
  const struct {
    std::string head;
    FileEncoding::Kind kind;
    size_t bom_size;
  } cases[] = {
      {"", FileEncoding::kEightBit, 0},
      {"[a]\r\nb=\0c\r\n", FileEncoding::kEightBit, 0},  // a stray NUL
      {"\xEF\xBB\xBF[a]", FileEncoding::kEightBit, 3},
      {std::string("\xFE\xFF\0[", 4), FileEncoding::kUtf16Be, 2},
      {std::string("[\0a\0]\0", 6), FileEncoding::kUtf16Le, 0},
      {std::string("\0[\0a\0]", 6), FileEncoding::kUtf16Be, 0},
  };
  for (const auto& c : cases) {
    const FileEncoding encoding = DetectEncoding(c.head);
    EXPECT_EQ(encoding.kind, c.kind) << c.head;
    EXPECT_EQ(encoding.bom_size, c.bom_size) << c.head;
  }
}

TEST(LaunchcheckUsageTest, UsageErrorsExitWithTwoAndHelpWithZero) {
  TempDirectory disc;
  const std::string dir = disc.path().string();
  const std::vector<std::string> bad[] = {
      {"--bogus", dir},
      {"-x", dir},
      {"--os", dir},  // the directory is taken as the version
      {"--os", "5", dir},
      {"--os", "5.1.2.3.4", dir},
      {"--os", "5.x", dir},
      {"--os", "5..1", dir},
      {"--office", "eleven", dir},
      {"--office", "4294967296", dir},
      {"--office", "-2147483649", dir},
      {dir, "--office"},
      {"--explain", dir},
      {"--probe", dir},  // no probe host in this build
      {"--probe", "--os", "5.1", dir},
      {"--explain=yes", "--os", "5.1", dir},
      {dir, dir},
      {(disc.path() / "missing").string()},
      {"--format", "xml", dir},
      {"--codepage", "932", dir},
      {"--force", dir},
      {"--fix", "out.ini", "--os", "5.1", dir},
      {"--fix", "out.ini", "--strict", dir},
      {"--strict", "--office", "11", dir},
  };
  for (const auto& args : bad) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2) << args[0] << " " << args[1 % args.size()];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("launchcheck: "), std::string::npos);
  }
  for (const char* help : {"--help", "-h"}) {
    const ToolRun run = RunTool({help});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: launchcheck [OPTIONS] [DIR]\n", 0), 0u);
    EXPECT_EQ(run.err, "");
  }
}

TEST(LaunchcheckUsageTest, VersionPrintsTheVersionUsersSee) {
  // Whatever else is given: DIR is not read.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"}, {"--version", "no/such/directory"}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "launchcheck 1.00\n");
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(RunTool({"--version=1"}).status, 2);
}

TEST(LaunchcheckUsageTest, SignedAndUnsignedOfficeNumbersAreTheSameRegistryNumber) {
  TempDirectory disc;
  disc.Write("launch.ini", "[winxpLaunchFiles]\r\n-1=neg.exe\r\n");
  disc.Write("neg.exe", "");
  for (const char* number : {"-1", "4294967295"}) {
    const ToolRun run =
        RunTool({"--os", "5.1", "--office", number, "--dir", "C:\\D", disc.path().string()});
    EXPECT_EQ(run.out, "C:\\D\\neg.exe\n") << number;
  }
}

// The machine whose probes --probe takes; says on its way out how many
// programs it was asked to start.
class WatchedMachine : public platform::SimulatedHost {
 public:
  explicit WatchedMachine(int* starts) : starts_(starts) {}
  ~WatchedMachine() override { *starts_ = static_cast<int>(started().size()); }

 private:
  int* starts_;
};

TEST(LaunchcheckProbeTest, ProbeTakesTheMachinesAnswersButItsFilesAndStartsStaySimulated) {
  TempDirectory disc;
  disc.Write("launch.ini", kIni);
  disc.Write("apps/office2003/setup.exe", "");
  int machine_starts = -1;
  auto factory = [&machine_starts]() -> std::unique_ptr<platform::Host> {
    auto machine = std::make_unique<WatchedMachine>(&machine_starts);
    machine->SetVersion(5, 1, 2600, 2);
    machine->SetRegistryNumber(platform::kHkeyLocalMachine, checker::kOfficeKeyPath,
                               checker::kOfficeValueName, 11);
    // Were the machine's own files read, the default entry would be started.
    machine->AddFile("C:\\Disc\\launch.ini", "[defaultLaunchFiles]\r\ndefault=x.exe\r\n");
    machine->AddFile("C:\\Disc\\x.exe", "");
    return machine;
  };
  const ToolRun run = RunTool({"--probe", "--dir", "C:\\Disc", disc.path().string()}, factory);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "office version (Label1): 11\n"
            "build (Label2): 2600\n"
            "major version (Label3): 5\n"
            "minor version (Label4): 1\n"
            "platform (Label5): 2\n"
            "host label (Label6): winxp\n"
            "C:\\Disc\\apps\\office2003\\setup.exe /q\n");
  EXPECT_EQ(machine_starts, 0);
}

TEST(LaunchcheckProbeTest, ProbeThatFindsNoOfficeShowsWhatWasDetectedAndTheReport) {
  TempDirectory disc;
  disc.Write("launch.ini", "[winxpLaunchFiles]\r\n11=a.exe\r\n");
  auto factory = []() -> std::unique_ptr<platform::Host> {
    auto machine = std::make_unique<platform::SimulatedHost>();
    machine->SetVersion(6, 2, 9200, 2);
    return machine;
  };
  const ToolRun run =
      RunTool({"--probe", "--explain", "--dir", "C:\\D", disc.path().string()}, factory);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "office version (Label1): \n"
            "build (Label2): (not written)\n"
            "major version (Label3): (not written)\n"
            "minor version (Label4): (not written)\n"
            "platform (Label5): (not written)\n"
            "host label (Label6): (not written)\n");
  EXPECT_NE(run.err.find("path: fallback\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("error report: error 2: cannot start C:\\D\\: no such program\n"),
            std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace launchcheck
