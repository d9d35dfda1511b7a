#include "launcher/main.h"

#include <gtest/gtest.h>

#include "status/frm_main.h"
#include "test_machine.h"

namespace checker {
namespace {

using platform::SimulatedHost;

std::vector<std::string> CommandLines(const SimulatedHost& host) {
  std::vector<std::string> lines;
  for (const auto& start : host.started()) lines.push_back(start.command_line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(MainTest, TypicalRunStartsTheSelectedEntryAndEndsCleanly) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  EXPECT_EQ(host.Run(&Main), 0);
  EXPECT_EQ(CommandLines(host), Lines{"\"C:\\Apps\\Launcher\\apps\\xp11.exe\""});
  EXPECT_FALSE(host.error_report().has_value());
  EXPECT_TRUE(host.form_created());
  EXPECT_FALSE(host.form_visible());
  const char* const expected[][2] = {{"Label1", "11"}, {"Label2", "2600"}, {"Label3", "5"},
                                     {"Label4", "1"},  {"Label5", "2"},    {"Label6", "winxp"}};
  for (const auto& label : expected) {
    EXPECT_EQ(host.Caption(status::frmMain, label[0]), label[1]) << label[0];
  }
  EXPECT_EQ(host.open_files(), 0);
  EXPECT_EQ(host.open_registry_keys(), 0);
}

TEST(MainTest, OnlyADriveRootNeedsNoSeparator) {
  const struct {
    const char* directory;
    bool code_page_932;
    const char* ini;
    const char* started;
  } cases[] = {
      {"D:\\", false, "D:\\launch.ini", "D:\\start.exe"},
      {"D:\\", true, "D:\\launch.ini", "D:\\start.exe"},
      // "ソ" (0x83 0x5C) ends in a byte that is "\" on its own.
      {"C:\\Disc \x83\x5C", true, "C:\\Disc \x83\x5C\\launch.ini", "C:\\Disc \x83\x5C\\start.exe"},
  };
  for (const auto& c : cases) {
    SimulatedHost host;
    if (c.code_page_932) host.UseCodePage932();
    host.SetOwnDirectory(c.directory);
    host.AddFile(c.ini, "[defaultLaunchFiles]\r\ndefault=start.exe\r\n");
    host.AddFile(c.started, "");
    EXPECT_EQ(host.Run(&Main), 0) << c.started;  // no Office at all: the fallback launch
    EXPECT_EQ(CommandLines(host), Lines{"\"" + std::string(c.started) + "\""});
  }
}

TEST(MainTest, ArgumentsFollowTheQuotedProgram) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(testing::kIni, "[winxpLaunchFiles]\r\n11=setup.exe /q\r\n");
  host.AddFile("C:\\Apps\\Launcher\\setup.exe", "");
  EXPECT_EQ(host.Run(&Main), 0);
  EXPECT_EQ(CommandLines(host), Lines{"\"C:\\Apps\\Launcher\\setup.exe\" /q"});
}

TEST(MainTest, MissingProgramFallsBackToTheDefaultEntry) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(testing::kIni,
               "[winxpLaunchFiles]\r\n11=gone.exe\r\n[defaultLaunchFiles]\r\n"
               "default=apps\\fallback.exe\r\n");
  EXPECT_EQ(host.Run(&Main), 0);
  EXPECT_EQ(CommandLines(host), Lines{"\"C:\\Apps\\Launcher\\apps\\fallback.exe\""});
}

TEST(MainTest, EveryFailureOfTheSelectionLeadsToTheDefaultEntry) {
  struct Case {
    const char* what;
    void (*break_it)(SimulatedHost&);
  };
  const Case cases[] = {
      {"no Office, no word processor", [](SimulatedHost& h) { testing::RemoveOffice(h); }},
      {"version read fails",
       [](SimulatedHost& h) {
         testing::RemoveOffice(h);
         h.AddAutomationClass("word.application", {std::nullopt});
       }},
      {"version text not numeric", [](SimulatedHost& h) { testing::SetOfficeText(h, "Office"); }},
      {"registry text too long",
       [](SimulatedHost& h) { testing::SetOfficeText(h, std::string(40000, '1')); }},
      {"form cannot be written", [](SimulatedHost& h) { h.SetCaptionWritesFail(true); }},
      {"entry longer than any command line",
       [](SimulatedHost& h) {
         h.AddFile(testing::kIni, "[winxpLaunchFiles]\r\n11=apps\\xp11.exe " +
                                      std::string(40000, 'a') +
                                      "\r\n[defaultLaunchFiles]\r\ndefault=apps\\fallback.exe\r\n");
       }},
  };
  for (const Case& c : cases) {
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    c.break_it(host);
    EXPECT_EQ(host.Run(&Main), 0) << c.what;
    EXPECT_EQ(CommandLines(host), Lines{"\"C:\\Apps\\Launcher\\apps\\fallback.exe\""}) << c.what;
    EXPECT_FALSE(host.error_report().has_value()) << c.what;
  }
}

TEST(MainTest, FailingFallbackEndsWithTheErrorReportAndStartsNothing) {
  const char* const inis[] = {
      "[winxpLaunchFiles]\r\n11=gone.exe\r\n",                                // no default
      "[winxpLaunchFiles]\r\n11=gone.exe\r\n[defaultLaunchFiles]\r\ndefault=\r\n",  // empty
      "[winxpLaunchFiles]\r\n11=gone.exe\r\n[defaultLaunchFiles]\r\ndefault=also-gone.exe\r\n",
  };
  for (const char* ini : inis) {
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    host.AddFile(testing::kIni, ini);
    EXPECT_EQ(host.Run(&Main), 1) << ini;
    EXPECT_TRUE(host.started().empty()) << ini;
    ASSERT_TRUE(host.error_report().has_value()) << ini;
    EXPECT_EQ(host.error_report()->number(), platform::error::kFileNotFound);
    EXPECT_NE(host.error_report()->description().find("C:\\Apps\\Launcher\\"), std::string::npos);
    EXPECT_FALSE(host.form_visible());
  }
}

// Declining the consent prompt is a failed start on the main path, and on
// the fallback an end without a report: a person's "No" is not an error.
TEST(MainTest, DeclinedConsentTriesTheDefaultEntryThenEndsQuietly) {
  const struct {
    const char* declined;
    Lines started;
  } cases[] = {
      {"xp11.exe", {"\"C:\\Apps\\Launcher\\apps\\fallback.exe\""}},
      {"fallback.exe", {"\"C:\\Apps\\Launcher\\apps\\xp11.exe\""}},
  };
  for (const auto& c : cases) {
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    host.DeclineConsentFor(std::string(testing::kDir) + "\\apps\\" + c.declined);
    EXPECT_EQ(host.Run(&Main), 0) << c.declined;
    EXPECT_EQ(CommandLines(host), c.started) << c.declined;
  }

  SimulatedHost both;
  testing::SetUpStandardMachine(both);
  for (const char* program : {"xp11.exe", "fallback.exe"}) {
    both.DeclineConsentFor(std::string(testing::kDir) + "\\apps\\" + program);
  }
  EXPECT_EQ(both.Run(&Main), 0);
  EXPECT_TRUE(both.started().empty());
  EXPECT_FALSE(both.error_report().has_value());
}

TEST(MainTest, MissingOrUnreadableLaunchIniEndsWithTheErrorReport) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(testing::kIni + std::string(".bak"), testing::kStandardIni);
  host.SetFileReadFails(testing::kIni);
  EXPECT_EQ(host.Run(&Main), 1);
  EXPECT_TRUE(host.started().empty());
  // The report is the fallback's: a default entry that could not be read
  // names no program.
  ASSERT_TRUE(host.error_report().has_value());
  EXPECT_EQ(host.error_report()->number(), platform::error::kFileNotFound);

  SimulatedHost bare;
  bare.SetOwnDirectory(testing::kDir);
  EXPECT_EQ(bare.Run(&Main), 1);
  EXPECT_TRUE(bare.started().empty());
  ASSERT_TRUE(bare.error_report().has_value());
  EXPECT_EQ(bare.error_report()->number(), platform::error::kFileNotFound);
}

TEST(MainTest, BlankInInstallDirectoryNeverStartsAPlantedProgram) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.SetOwnDirectory("C:\\Program Files\\Disc Tools");
  host.AddFile("C:\\Program Files\\Disc Tools\\launch.ini",
               "[winxpLaunchFiles]\r\n11=setup.exe /q\r\n");
  host.AddFile("C:\\Program.exe", "");
  host.AddFile("C:\\Program Files\\Disc.exe", "");
  EXPECT_EQ(host.Run(&Main), 1);  // setup.exe is not there: nothing may start
  EXPECT_TRUE(host.started().empty());
  ASSERT_TRUE(host.error_report().has_value());
  EXPECT_EQ(host.error_report()->number(), platform::error::kFileNotFound);

  host.AddFile("C:\\Program Files\\Disc Tools\\setup.exe", "");
  EXPECT_EQ(host.Run(&Main), 0);
  EXPECT_EQ(CommandLines(host), Lines{"\"C:\\Program Files\\Disc Tools\\setup.exe\" /q"});
}

}  // namespace
}  // namespace checker
