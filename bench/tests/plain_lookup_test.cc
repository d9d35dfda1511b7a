#include "bench/plain_lookup.h"

#include <gtest/gtest.h>

#include "config/launch_entry.h"
#include "platform/simulated/simulated_host.h"
#include "tests/launchcheck/temp_directory.h"

namespace bench {
namespace {

struct Case {
  const char* what;
  const char* file;
  const char* section;
  const char* key;
  const char* expected;
};

// The plain lookup is only a fair floor if it reads the file exactly as the
// launcher does: each case is checked against both.
TEST(PlainLookupTest, GivesWhatTheLauncherGives) {
  const Case cases[] = {
      {"plain entry", "[winxpLaunchFiles]\r\n11=a.exe\r\n", "winxpLaunchFiles", "11", "a.exe"},
      {"header case ignored", "[WinXPLaunchFiles]\r\n11=a.exe\r\n", "winxpLaunchFiles", "11",
       "a.exe"},
      {"key case ignored, value case kept", "[s]\r\nDEFAULT=D.exe\r\n", "S", "default", "D.exe"},
      {"header with trailing blank closes the section", "[s]\r\n[s] \r\n11=a.exe\r\n", "s", "11",
       ""},
      {"key anchored with =", "[s]\r\n110=b.exe\r\n 11=c.exe\r\n11 =d.exe\r\n11=a.exe\r\n", "s",
       "11", "a.exe"},
      {"bracket in value closes the section", "[s]\r\n11=setup.exe [cd]\r\n11=b.exe\r\n", "s", "11",
       ""},
      {"key before any header ignored", "11=a.exe\r\n[s]\r\n", "s", "11", ""},
      {"repeated section counts", "[s]\r\n[t]\r\n11=t.exe\r\n[S]\r\n11=b.exe\r\n", "s", "11",
       "b.exe"},
      {"lone CR ends lines", "[s]\r11=a.exe\r", "s", "11", "a.exe"},
      {"lone LF swallows the next line", "[s]\n11=a.exe\r\n", "s", "11", ""},
      {"LF after CRLF starts the line", "[s]\r\n\n11=a.exe\r\n11=b.exe", "s", "11", "b.exe"},
      {"LF-only entry line keeps the rest", "[s]\r\n11=a.exe\n12=b.exe", "s", "11",
       "a.exe\n12=b.exe"},
      {"LF first in the file is part of the line", "\n[s]\r\n11=a.exe\r\n", "s", "11", ""},
      {"no final terminator", "[s]\r\n11=a.exe", "s", "11", "a.exe"},
      {"empty value", "[s]\r\n11=\r\n11=b.exe\r\n", "s", "11", ""},
      {"8-bit bytes pass through", "[s]\r\n11=\xC9t\xE9.exe\r\n", "s", "11", "\xC9t\xE9.exe"},
      {"empty file", "", "s", "11", ""},
  };
  launchcheck::testing::TempDirectory directory;
  platform::SimulatedHost host;
  host.MapDirectory("E:\\", directory.path());
  for (const Case& c : cases) {
    directory.Write("launch.ini", c.file);
    EXPECT_EQ(PlainLookup(directory.path() / "launch.ini", c.section, c.key), c.expected) << c.what;
    EXPECT_EQ(checker::ReadLaunchEntry(host, "E:\\launch.ini", c.section, c.key), c.expected)
        << c.what;
  }
}

TEST(PlainLookupTest, MissingFileGivesEmptyText) {
  launchcheck::testing::TempDirectory directory;
  EXPECT_EQ(PlainLookup(directory.path() / "launch.ini", "s", "11"), "");
}

}  // namespace
}  // namespace bench
