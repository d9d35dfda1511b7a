#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "run_tool.h"
#include "temp_directory.h"

namespace launchcheck {
namespace {

using testing::RunTool;
using testing::TempDirectory;
using testing::ToolRun;
using Lines = std::vector<std::string>;

constexpr char kDefault[] = "[defaultLaunchFiles]\r\ndefault=start.exe\r\n";

struct Case {
  const char* what;
  std::string ini;  // launch.ini; kDefault is appended unless `own_default`
  Lines findings;   // each "LINE: message", the file's path left off
  bool own_default = false;
  int status = 0;
};

// The findings, each without the path of launch.ini before its line number.
Lines Findings(const std::string& err) {
  Lines lines;
  std::istringstream stream(err);
  for (std::string line; std::getline(stream, line);) {
    const size_t name = line.find("launch.ini");
    lines.push_back(name == std::string::npos ? line : line.substr(name + 10));
  }
  return lines;
}

TEST(FindingsTest, EachSuspectLineIsReportedWithItsLineNumber) {
  const Case cases[] = {
      {"clean", "[winxpLaunchFiles]\r\n11=start.exe\r\n\r\n12=start.exe /q\r\n", {}},
      {"blank before key",
       "[winxpLaunchFiles]\r\n 11=start.exe\r\n",
       {":2: blank before the key: this line never matches"}},
      {"blank before =",
       "[winxpLaunchFiles]\r\n11 =start.exe\r\n",
       {":2: blank before \"=\": this line never matches"}},
      {"blank after =",
       "[winxpLaunchFiles]\r\n11= start.exe\r\n",
       {":2: blank after \"=\": it is part of the value \" start.exe\"",
        ":2: no program: \" start.exe\" names no file under DIR"}},
      {"header with trailing blank",
       "[winxpLaunchFiles] \r\n11=start.exe\r\n",
       {":1: header with blanks: not a header, so it closes the section and the lines up to the "
        "next header are ignored",
        ":2: ignored: the section was closed at line 1"}},
      {"blanks inside the brackets",
       "[ winxpLaunchFiles]\r\n11=start.exe\r\n",
       {":1: header with blanks: [ winxpLaunchFiles] is not [winxpLaunchFiles], so this section "
        "is never read"}},
      {"[ in a value",
       "[winxpLaunchFiles]\r\n11=start.exe [cd]\r\n12=start.exe\r\n",
       {":2: a \"[\" in the value closes the section: this entry and the lines up to the next "
        "header are ignored",
        ":3: ignored: the section was closed at line 2"}},
      {"other line with [",
       "[winxpLaunchFiles]\r\n[x] notes\r\n",
       {":2: not a header, but its \"[\" closes the section: the lines up to the next header are "
        "ignored"}},
      {"entry before any header",
       "11=start.exe\r\n[winxpLaunchFiles]\r\n",
       {":1: before any header: ignored"}},
      {"lone line feeds",
       "[winxpLaunchFiles]\n11=start.exe\n12=start.exe\r\n",
       {":1: lone line feed: the launcher reads lines 1 to 3 as one line (only a carriage return "
        "ends a line)",
        ":1: not a header, but its \"[\" closes the section: the lines up to the next header are "
        "ignored"}},
      {"lone line feed inside a header",
       "[win98\nLaunchFiles]\r\n",
       {":1: lone line feed: the launcher reads lines 1 to 2 as one line (only a carriage return "
        "ends a line)",
        ":1: section [win98\\nLaunchFiles] is never read: \"win98\\n\" is not a host label "
        "(win98, winme, winnt, win2k, winxp, winvista, default)"}},
      {"lone line feed at the end",
       "[winxpLaunchFiles]\r\n11=start.exe\n",
       {":2: lone line feed at the end of the file: the launcher reads it as part of the line",
        ":2: no program: \"start.exe\\n\" names no file under DIR",
        ": no usable default entry ([defaultLaunchFiles] has no entry default=): when the Office "
        "version cannot be found the launcher ends with its error report"},
       true,
       1},
      {"win95 section",
       "[Win95LaunchFiles]\r\n9=start.exe\r\n",
       {":1: section [Win95LaunchFiles] is never read: no host is labelled win95 (Windows 95 "
        "reads [winntLaunchFiles])"}},
      {"unknown label",
       "[win7LaunchFiles]\r\n",
       {":1: section [win7LaunchFiles] is never read: \"win7\" is not a host label (win98, winme, "
        "winnt, win2k, winxp, winvista, default)"}},
      {"not a launch section",
       "[Setup]\r\n",
       {":1: section [Setup] is never read: a section is a "
        "host label followed by LaunchFiles"}},
      {"odd keys",
       "[winxpLaunchFiles]\r\nOffice=start.exe\r\n=start.exe\r\nnotes\r\n"
       "default=start.exe\r\n",
       {":2: key \"Office\" is neither an Office version number nor \"default\": never looked up",
        ":3: no key before \"=\": ignored",
        ":4: not an entry (no \"=\"): ignored; launch.ini has no comments",
        ":5: the key default is read only in [defaultLaunchFiles]: this line is never used"}},
      {"duplicates, also across sections of one name",
       "[winxpLaunchFiles]\r\n11=start.exe\r\n[WINXPLAUNCHFILES]\r\n11=other.exe\r\n",
       {":4: hidden by line 2, the first entry for key \"11\" in this section: never used"}},
      {"empty value",
       "[winxpLaunchFiles]\r\n11=\r\n",
       {":2: empty value: the launcher uses the default entry instead"}},
      {"missing program",
       "[winxpLaunchFiles]\r\n11=apps\\gone.exe /q\r\n12=Start /q\r\n",
       {":2: no program: \"apps\\gone.exe /q\" names no file under DIR"}},
      {"no default entry",
       "[winxpLaunchFiles]\r\n11=start.exe\r\n",
       {": no usable default entry ([defaultLaunchFiles] has no entry default=): when the Office "
        "version cannot be found the launcher ends with its error report"},
       true,
       1},
      {"empty default entry",
       "[defaultLaunchFiles]\r\ndefault=\r\ndefault=start.exe\r\n",
       {":2: empty default entry",
        ":2: no usable default entry (error 2: cannot start C:\\D\\: no such program): when the "
        "Office version cannot be found the launcher ends with its error report",
        ":3: hidden by line 2, the first entry for key \"default\" in this section: never used"},
       true,
       1},
      {"default entry naming nothing",
       "[defaultLaunchFiles]\r\ndefault=gone.exe\r\n",
       {":2: no program: \"gone.exe\" names no file under DIR",
        ":2: no usable default entry (error 2: cannot start C:\\D\\gone.exe: no such program): "
        "when the Office version cannot be found the launcher ends with its error report"},
       true,
       1},
  };
  for (const Case& c : cases) {
    TempDirectory disc;
    disc.Write("launch.ini", c.own_default ? c.ini : c.ini + kDefault);
    disc.Write("start.exe", "");
    const ToolRun run = RunTool({"--dir", "C:\\D", disc.path().string()});
    Lines expected = c.findings;
    for (std::string& finding : expected) {
      const size_t dir = finding.find("under DIR");
      if (dir != std::string::npos) finding.replace(dir + 6, 3, disc.path().string());
    }
    EXPECT_EQ(Findings(run.err), expected) << c.what;
    EXPECT_EQ(run.status, c.status) << c.what;
  }
}

TEST(FindingsTest, MissingLaunchIniCannotBeReadAndHasNoDefault) {
  TempDirectory disc;
  const ToolRun run = RunTool({"--dir", "C:\\D", disc.path().string()});
  EXPECT_EQ(run.status, 1);
  const Lines findings = Findings(run.err);
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0], ": cannot be read: error 2: file not found: C:\\D\\launch.ini");
  EXPECT_EQ(findings[1].rfind(": no usable default entry (error 2: cannot start C:\\D\\:", 0), 0u)
      << findings[1];
}

TEST(FindingsTest, FindingsNameTheFileAsGiven) {
  TempDirectory disc;
  disc.Write("launch.ini", "[Setup]\r\n[defaultLaunchFiles]\r\ndefault=a.exe\r\n");
  disc.Write("A.EXE", "");
  const ToolRun run = RunTool({disc.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, (disc.path() / "launch.ini").string() +
                         ":1: section [Setup] is never read: a section is a host label followed "
                         "by LaunchFiles\n");
}

}  // namespace
}  // namespace launchcheck
