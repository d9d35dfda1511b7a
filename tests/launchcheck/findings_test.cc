#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
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
  std::string program = "start.exe";  // the program on the disc
};

constexpr char kNoDefault[] =
    ": no usable default entry ([defaultLaunchFiles] has no entry default=): when the Office "
    "version cannot be found the launcher ends with its error report";

// `ascii` in UTF-16, as editors save "Unicode" text.
std::string Utf16(const std::string& ascii, bool big_endian, bool mark) {
  std::string bytes = mark ? (big_endian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (const char c : ascii) bytes += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

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
        ":2: no program: \"start.exe\\n\" names no file under DIR", kNoDefault},
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
      {"no default entry", "[winxpLaunchFiles]\r\n11=start.exe\r\n", {kNoDefault}, true, 1},
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
      {"UTF-8 byte-order mark before a header",
       "\xEF\xBB\xBF[winxpLaunchFiles]\r\n11=start.exe\r\n",
       {":1: UTF-8 byte-order mark (the file was saved as \"UTF-8 with BOM\"): the launcher reads "
        "its three bytes as part of line 1, so [winxpLaunchFiles] there is not a header and the "
        "lines up to the next header are ignored",
        ":2: ignored: the section was closed at line 1"}},
      {"UTF-8 byte-order mark before a blank line",
       "\xEF\xBB\xBF\r\n[winxpLaunchFiles]\r\n",
       {":1: UTF-8 byte-order mark (the file was saved as \"UTF-8 with BOM\"): the launcher reads "
        "its three bytes as part of line 1; harmless here, as line 1 is not a header that is "
        "read"}},
      {"UTF-16 little-endian with a mark",
       Utf16(kDefault, false, true),
       {":1: UTF-16 little-endian with a byte-order mark (\"Unicode\" to Windows editors): the "
        "launcher reads 8-bit text in the system code page and finds no header and no entry in "
        "it; save it as ANSI, or convert it with --fix",
        kNoDefault},
       true,
       1},
      {"UTF-16 big-endian without a mark",
       Utf16(kDefault, true, false),
       {":1: UTF-16 big-endian without a byte-order mark (\"Unicode\" to Windows editors): the "
        "launcher reads 8-bit text in the system code page and finds no header and no entry in "
        "it; save it as ANSI, or convert it with --fix",
        kNoDefault},
       true,
       1},
      {"UTF-8 beyond ASCII",
       "[winxpLaunchFiles]\r\n11=B\xC3\xBCro.exe\r\n",
       {":2: UTF-8 text beyond ASCII: \"11=B\xC3\xBCro.exe\" reads \"11=B\xC3\x83\xC2\xBCro.exe\" "
        "in Windows-1252, the system code page assumed (see --codepage); the launcher compares "
        "those bytes, so a key may not match and a program may not be found"},
       false,
       0,
       "B\xC3\xBCro.exe"},
      {"bytes beyond ASCII that are not UTF-8 are the code page's",
       "[winxpLaunchFiles]\r\n11=B\xC3\xBCro.exe\r\n12=B\xFCro.exe\r\n",
       {":3: no program: \"B\xFCro.exe\" names no file under DIR"},
       false,
       0,
       "B\xC3\xBCro.exe"},
      {"command line too long",
       "[winxpLaunchFiles]\r\n11=start.exe " + std::string(32750, 'a') + "\r\n",
       {":2: the command line (the program's path in quotes and the arguments) is 32767 "
        "characters: CreateProcessA takes none longer than 32766 (32767 with the terminating "
        "NUL, as documented for Windows NT and later; assumed for Windows 95/98/ME, for which no "
        "limit is documented), and the launcher starts the default entry instead"}},
      {"program path too long",
       "[winxpLaunchFiles]\r\n11=" + std::string(200, 'd') + "\\" + std::string(51, 'p') +
           ".exe\r\n",
       {":2: the program's path is 261 characters: Windows starts none longer than 259 (MAX_PATH, "
        "260 with the terminating NUL, on every Windows), and the launcher starts the default "
        "entry instead"},
       false,
       0,
       std::string(200, 'd') + "/" + std::string(51, 'p') + ".exe"},
  };
  for (const Case& c : cases) {
    TempDirectory disc;
    disc.Write("launch.ini", c.own_default ? c.ini : c.ini + kDefault);
    disc.Write("start.exe", "");
    disc.Write(c.program, "");
    const ToolRun run = RunTool({"--dir", "C:\\D", disc.path().string()});
    Lines expected = c.findings;
    for (std::string& finding : expected) {
      const size_t dir = finding.find("under DIR");
      if (dir != std::string::npos) finding.replace(dir + 6, 3, disc.path().string());
    }
    EXPECT_EQ(Findings(run.err), expected) << c.what;
    EXPECT_EQ(run.status, c.status) << c.what;
    const ToolRun strict = RunTool({"--strict", "--dir", "C:\\D", disc.path().string()});
    EXPECT_EQ(strict.status, c.findings.empty() ? 0 : 1) << c.what;
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

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The findings of the kinds that --fix mends, as "LINE: kind".
std::vector<std::string> MendableFindings(const std::string& json) {
  std::vector<std::string> found;
  for (const char* kind : {"utf8-bom", "utf16", "utf8-text", "lone-line-feed", "header-blanks",
                           "blank-before-key", "blank-before-equals"}) {
    const std::string field = "\"kind\": \"" + std::string(kind) + "\"";
    for (size_t at = json.find(field); at != json.npos; at = json.find(field, at + 1)) {
      const size_t line = json.rfind("\"line\": ", at) + 8;
      found.push_back(json.substr(line, json.find(',', line) - line) + ": " + kind);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST(FixTest, WritesWhatTheLauncherReadsAsMeantAndSaysWhatChanged) {
  struct Case {
    const char* what;
    std::string original;
    std::string fixed;
    std::vector<std::string> changes;  // each "LINE: message"
    std::vector<std::string> kept;     // mendable findings left in the copy
    std::string code_page = "1252";
  };
  const Case cases[] = {
      {"nothing to mend", kDefault, kDefault, {}, {}},
      {"lone line feeds",
       "[defaultLaunchFiles]\ndefault=start.exe\n",
       kDefault,
       {"1: lone line feeds made CR LF, lines 1 to 2"},
       {}},
      {"carriage returns alone, the last line unended",
       "[defaultLaunchFiles]\rdefault=start.exe",
       "[defaultLaunchFiles]\r\ndefault=start.exe",
       {"1: carriage return without line feed made CR LF"},
       {}},
      {"UTF-8 byte-order mark",
       "\xEF\xBB\xBF" + std::string(kDefault),
       kDefault,
       {"1: UTF-8 byte-order mark removed"},
       {}},
      {"UTF-16 little-endian with a mark",
       Utf16(kDefault, false, true),
       kDefault,
       {"1: UTF-16 little-endian with a byte-order mark converted to Windows-1252"},
       {}},
      {"UTF-16 big-endian without a mark, lone line feeds",
       Utf16("[defaultLaunchFiles]\ndefault=start.exe\n", true, false),
       kDefault,
       {"1: UTF-16 big-endian without a byte-order mark converted to Windows-1252",
        "1: lone line feeds made CR LF, lines 1 to 2"},
       {}},
      {"UTF-8 text",
       std::string(kDefault) + "[winxpLaunchFiles]\r\n11=B\xC3\xBCro.exe\r\n",
       std::string(kDefault) + "[winxpLaunchFiles]\r\n11=B\xFCro.exe\r\n",
       {"4: converted from UTF-8 to Windows-1252"},
       {}},
      {"UTF-8 text in another code page",
       std::string(kDefault) + "[winxpLaunchFiles]\r\n11=\xD0\x9F.exe\r\n",
       std::string(kDefault) + "[winxpLaunchFiles]\r\n11=\xCF.exe\r\n",
       {"4: converted from UTF-8 to Windows-1251"},
       {},
       "1251"},
      {"blanks around headers and keys",
       "[winxpLaunchFiles] \r\n 11 = start.exe\r\n[ defaultLaunchFiles]\r\ndefault\t=start.exe\r\n",
       "[winxpLaunchFiles]\r\n11=start.exe\r\n[defaultLaunchFiles]\r\ndefault=start.exe\r\n",
       {"1: \"[winxpLaunchFiles] \" made \"[winxpLaunchFiles]\"",
        "2: \" 11 = start.exe\" made \"11=start.exe\"",
        "3: \"[ defaultLaunchFiles]\" made \"[defaultLaunchFiles]\"",
        "4: \"default\\t=start.exe\" made \"default=start.exe\""},
       {}},
      {"of two sections mended, the second would hide nothing",
       std::string(kDefault) +
           "[winxpLaunchFiles] \r\n12=start.exe\r\n[winxpLaunchFiles]\t\r\n12=a.exe\r\n",
       std::string(kDefault) +
           "[winxpLaunchFiles]\r\n12=start.exe\r\n[winxpLaunchFiles]\t\r\n12=a.exe\r\n",
       {"3: \"[winxpLaunchFiles] \" made \"[winxpLaunchFiles]\"",
        "5: left as it is: fixed, it would change the entry for key \"12\" that the launcher reads "
        "at line 4"},
       {"5: header-blanks"}},
      {"nothing that changes an entry read already, nor lines never read",
       std::string(kDefault) +
           " default=a.exe\r\n[winxpLaunchFiles] \r\n11=a.exe\r\n[winxpLaunchFiles]\r\n"
           "11=start.exe\r\n[Setup]\r\n 11 = a.exe\r\n",
       std::string(kDefault) +
           " default=a.exe\r\n[winxpLaunchFiles] \r\n11=a.exe\r\n[winxpLaunchFiles]\r\n"
           "11=start.exe\r\n[Setup]\r\n 11 = a.exe\r\n",
       {"3: left as it is: fixed, it would change the entry for key \"default\" that the launcher "
        "reads at line 2",
        "4: left as it is: fixed, it would change the entry for key \"11\" that the launcher reads "
        "at line 7"},
       {"3: blank-before-key", "4: header-blanks"}},
  };
  for (const Case& c : cases) {
    TempDirectory disc;
    disc.Write("launch.ini", c.original);
    const std::filesystem::path output = disc.path() / "fixed.ini";
    const ToolRun run =
        RunTool({"--fix", output.string(), "--codepage", c.code_page, disc.path().string()});
    EXPECT_EQ(run.status, 0) << c.what << run.err;
    std::string changes;
    for (const std::string& change : c.changes) {
      changes += (disc.path() / "launch.ini").string() + ":" + change + "\n";
    }
    EXPECT_EQ(run.out, changes) << c.what;
    EXPECT_EQ(ReadFile(output), c.fixed) << c.what;
    EXPECT_EQ(ReadFile(disc.path() / "launch.ini"), c.original) << c.what;

    // The copy, checked: what was mended is gone.
    TempDirectory fixed;
    fixed.Write("launch.ini", ReadFile(output));
    fixed.Write("start.exe", "");
    const ToolRun check = RunTool({"--format", "json", fixed.path().string()});
    EXPECT_EQ(MendableFindings(check.out), c.kept) << c.what << check.out;
  }
}

TEST(FixTest, WritesNothingWhenTheCodePageLacksACharacter) {
  TempDirectory disc;
  disc.Write("launch.ini", Utf16("[defaultLaunchFiles]\r\ndefault=", false, true) +
                               std::string("\xE5\x65\x2C\x67", 4) +
                               Utf16(".exe\r\n", false, false));
  const std::filesystem::path output = disc.path() / "fixed.ini";
  const ToolRun run = RunTool({"--fix", output.string(), disc.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, (disc.path() / "launch.ini").string() +
                         ":2: \"\xE6\x97\xA5\" (U+65E5) has no form in Windows-1252\n"
                         "launchcheck: nothing written: choose a code page with these characters "
                         "(--codepage 1250, 1251, 1252, 1253, 1254, 1257)\n");
  EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace launchcheck
