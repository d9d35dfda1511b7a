#include "config/launch_entry.h"

#include <gtest/gtest.h>

#include "double_byte_lookups.h"
#include "platform/simulated/simulated_host.h"
#include "platform/start_limits.h"

namespace checker {
namespace {

using platform::SimulatedHost;
using testing::LookupCase;

constexpr char kIni[] = "C:\\Apps\\Launcher\\launch.ini";

std::string Lookup(const std::string& file_bytes, const char* section, const char* key,
                   bool code_page_932 = false, size_t read_limit = 0) {
  SimulatedHost host;
  if (code_page_932) host.UseCodePage932();
  host.LimitReads(read_limit);
  host.AddFile(kIni, file_bytes);
  std::string value = ReadLaunchEntry(host, kIni, section, key);
  EXPECT_EQ(host.open_files(), 0);
  return value;
}

TEST(ReadLaunchEntryTest, MatchesHeadersAndKeysAsTheLauncherReadsThem) {
  const LookupCase cases[] = {
      {"plain entry", "[winxpLaunchFiles]\r\n11=a.exe\r\n", "winxpLaunchFiles", "11", "a.exe"},
      {"header case ignored", "[WinXPLaunchFiles]\r\n11=a.exe\r\n", "winxpLaunchFiles", "11",
       "a.exe"},
      {"key case ignored", "[defaultLaunchFiles]\r\nDEFAULT=d.exe\r\n", "defaultLaunchFiles",
       "default", "d.exe"},
      {"header with trailing blank matches nothing",
       "[winxpLaunchFiles] \r\n11=a.exe\r\n", "winxpLaunchFiles", "11", ""},
      {"header with trailing blank closes the section",
       "[winxpLaunchFiles]\r\n[winxpLaunchFiles] \r\n11=a.exe\r\n", "winxpLaunchFiles", "11",
       ""},
      {"key is anchored and includes =", "[s]\r\n11=a.exe\r\n", "s", "1", ""},
      {"longer key found after shorter", "[s]\r\n1=b.exe\r\n11=a.exe\r\n", "s", "11", "a.exe"},
      {"leading blank never matches", "[s]\r\n 11=a.exe\r\n", "s", "11", ""},
      {"blank before = never matches", "[s]\r\n11 = a.exe\r\n", "s", "11", ""},
      {"blank after = is kept", "[s]\r\n11= a.exe\r\n", "s", "11", " a.exe"},
      {"value keeps its case", "[s]\r\n11=Docs\\Start.EXE\r\n", "s", "11", "Docs\\Start.EXE"},
      {"trailing blanks kept", "[s]\r\n11=a.exe  \r\n", "s", "11", "a.exe  "},
      {"bracket in value closes the section", "[s]\r\n11=setup.exe [cd]\r\n11=b.exe\r\n", "s",
       "11", ""},
      {"key before any header ignored", "11=a.exe\r\n[s]\r\n", "s", "11", ""},
      {"other section ignored", "[t]\r\n11=a.exe\r\n[s]\r\n11=b.exe\r\n", "s", "11", "b.exe"},
      {"empty value", "[s]\r\n11=\r\n11=b.exe\r\n", "s", "11", ""},
      {"first match wins", "[s]\r\n11=a.exe\r\n11=b.exe\r\n", "s", "11", "a.exe"},
      {"repeated section counts", "[s]\r\n[t]\r\n11=t.exe\r\n[S]\r\n11=b.exe\r\n", "s", "11",
       "b.exe"},
      {"lone CR ends lines", "[s]\r11=a.exe\r", "s", "11", "a.exe"},
      {"lone LF swallows the next line", "[s]\n11=a.exe\r\n", "s", "11", ""},
      {"LF-only entry line keeps the rest", "[s]\r\n11=a.exe\n12=b.exe", "s", "11",
       "a.exe\n12=b.exe"},
      {"no final terminator", "[s]\r\n11=a.exe", "s", "11", "a.exe"},
      {"= inside value", "[s]\r\n11=a.exe x=1\r\n", "s", "11", "a.exe x=1"},
      {"8-bit bytes pass through", "[s]\r\n11=\xE9t\xE9.exe\r\n", "s", "11", "\xE9t\xE9.exe"},
      {"empty file", "", "s", "11", ""},
  };
  // ASCII reads alike in a double-byte code page, and the file alike
  // however few bytes each read gives.
  for (const bool code_page_932 : {false, true}) {
    for (const size_t read_limit : {0, 1, 2, 3, 7}) {
      for (const LookupCase& c : cases) {
        EXPECT_EQ(Lookup(c.file, c.section, c.key, code_page_932, read_limit), c.expected)
            << c.what << (code_page_932 ? " (code page 932)" : "") << ", reads of "
            << read_limit;
      }
    }
  }
}

TEST(ReadLaunchEntryTest, DoubleByteCharacterIsOneCharacter) {
  for (const size_t read_limit : {0, 1, 2, 3}) {
    for (const LookupCase& c : testing::kCodePage932Lookups) {
      EXPECT_EQ(Lookup(c.file, c.section, c.key, true, read_limit), c.expected)
          << c.what << ", reads of " << read_limit;
    }
  }
}

// Lines longer than what the lookup reads at a time, which it never holds.
TEST(ReadLaunchEntryTest, LongLinesArePassedOverOrTheirValueCut) {
  const std::string line(200000, 'x');
  const struct {
    const char* what;
    std::string file;
    const char* expected;
  } cases[] = {
      {"long line before the entry", "[s]\r\n" + line + "\r\n11=a.exe\r\n", "a.exe"},
      {"bracket at the end of a long line closes the section",
       "[s]\r\n" + line + "[\r\n11=a.exe\r\n", ""},
      {"long header-like line", "[" + line + "]\r\n[s]\r\n11=a.exe\r\n", "a.exe"},
  };
  for (const bool code_page_932 : {false, true}) {
    for (const auto& c : cases) {
      EXPECT_EQ(Lookup(c.file, "s", "11", code_page_932), c.expected) << c.what;
    }
  }
  // A value longer than any command line is kept only as far as that.
  const std::string value(100000, 'v');
  EXPECT_EQ(Lookup("[s]\r\n11=" + value + "\r\n", "s", "11"),
            value.substr(0, platform::kMaxCommandLine));
}

TEST(ReadLaunchEntryTest, MissingFileGivesEmptyText) {
  SimulatedHost host;
  EXPECT_EQ(ReadLaunchEntry(host, kIni, "defaultLaunchFiles", "default"), "");
}

TEST(ReadLaunchEntryTest, UnreadableFileGivesEmptyTextAndIsClosed) {
  SimulatedHost host;
  host.AddFile(kIni, "[s]\r\n11=a.exe\r\n");
  host.SetFileReadFails(kIni);
  EXPECT_EQ(ReadLaunchEntry(host, kIni, "s", "11"), "");
  EXPECT_EQ(host.open_files(), 0);
}

TEST(ReadLaunchEntryTest, FileNameIsFoundAsWindowsFindsIt) {
  SimulatedHost host;
  host.AddFile("C:\\Apps\\Launcher\\LAUNCH.INI", "[s]\r\n11=a.exe\r\n");
  EXPECT_EQ(ReadLaunchEntry(host, kIni, "s", "11"), "a.exe");
}

// A host whose code page also has upper-case letters above 127, as Western
// code pages do: 0xC0-0xDE lower to 0xE0-0xFE, except 0xD7.
class WesternHost : public SimulatedHost {
 public:
  std::string LowerCase(std::string_view text) override {
    std::string lower = SimulatedHost::LowerCase(text);
    for (char& c : lower) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) c = static_cast<char>(byte + 0x20);
    }
    return lower;
  }
};

TEST(ReadLaunchEntryTest, LinesAreLoweredByTheHostsRules) {
  // Octal escapes: 0xC9 is \311, 0xE9 \351, 0xD7 \327, 0xF7 \367.
  const LookupCase cases[] = {
      {"header", "[\311coleLaunchFiles]\r\n11=a.exe\r\n", "\351coleLaunchFiles", "11", "a.exe"},
      {"key, value kept", "[s]\r\n\31111=\311.exe\r\n", "s", "\35111", "\311.exe"},
      {"byte the host does not lower", "[s]\r\n\327=a.exe\r\n\367=b.exe\r\n", "s", "\367", "b.exe"},
  };
  for (const LookupCase& c : cases) {
    WesternHost host;
    host.AddFile(kIni, c.file);
    EXPECT_EQ(ReadLaunchEntry(host, kIni, c.section, c.key), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace checker
