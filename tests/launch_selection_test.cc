#include "launcher/launch_selection.h"

#include <gtest/gtest.h>

#include "failure_matchers.h"
#include "status/frm_main.h"
#include "test_machine.h"

namespace checker {
namespace {

using platform::FailsWith;
using platform::Holds;
using platform::SimulatedHost;
using testing::kIni;
namespace error = platform::error;

TEST(WordMajorVersionTest, KeepsTheMajorVersion) {
  const char* const cases[][2] = {{"11.0", "11"}, {"9.0", "9"}, {"8.0", "8"}, {"12.0.4518", "12"},
                                  {"9", "9"},     {"", ""},     {"16", "16"}, {"1.", "1"}, {".5", "."}};
  for (const auto& c : cases) EXPECT_EQ(WordMajorVersion(c[0]), c[1]) << c[0];
}

TEST(SelectLaunchTest, RegistryNumberAndHostLabelSelectTheirEntry) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  EXPECT_THAT(SelectLaunch(host, kIni), Holds("apps\\xp11.exe"));
  EXPECT_EQ(host.Caption(status::frmMain, "Label1"), "11");
  EXPECT_EQ(host.Caption(status::frmMain, "Label6"), "winxp");
  EXPECT_TRUE(host.automation_objects().empty());
}

TEST(SelectLaunchTest, LabelsAreWrittenInOrder) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  ASSERT_TRUE(SelectLaunch(host, kIni).ok());
  std::vector<std::string> controls;
  for (const auto& write : host.caption_writes()) controls.push_back(write.control);
  EXPECT_EQ(controls,
            (std::vector<std::string>{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}));
}

TEST(SelectLaunchTest, MissingRegistryValueAsksTheWordProcessorAndQuitsIt) {
  for (const bool quit_fails : {false, true}) {  // a failed quit keeps the version
    SCOPED_TRACE(quit_fails ? "quit fails" : "quit works");
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    testing::RemoveOffice(host);  // a raw-bytes value counts as missing
    host.AddFile(std::string(testing::kDir) + "\\nine.exe", "");
    host.AddFile(kIni, "[winxpLaunchFiles]\r\n9=nine.exe\r\n");
    host.AddAutomationClass("Word.Application", {"9.0", quit_fails});
    EXPECT_THAT(SelectLaunch(host, kIni), Holds("nine.exe"));
    EXPECT_EQ(host.Caption(status::frmMain, "Label1"), "");
    ASSERT_EQ(host.automation_objects().size(), 1u);
    const auto& word = host.automation_objects()[0];
    EXPECT_EQ(word.class_name, "word.application");
    EXPECT_EQ(word.quit_calls, 1);
    EXPECT_EQ(word.quit_argument, kDoNotSaveChanges);
    EXPECT_TRUE(word.released) << "held after quit";
  }
}

TEST(SelectLaunchTest, NoWordProcessorToAskIsAFailure) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  testing::RemoveOffice(host);
  EXPECT_THAT(SelectLaunch(host, kIni), FailsWith(error::kClassNotFound));
}

TEST(SelectLaunchTest, FailedVersionReadPassesUpWithoutQuit) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  testing::RemoveOffice(host);
  host.AddAutomationClass("word.application", {std::nullopt});
  EXPECT_THAT(SelectLaunch(host, kIni), FailsWith(error::kGeneric));
  ASSERT_EQ(host.automation_objects().size(), 1u);
  EXPECT_EQ(host.automation_objects()[0].version_reads, 1);
  EXPECT_EQ(host.automation_objects()[0].quit_calls, 0);
  EXPECT_TRUE(host.automation_objects()[0].released);
}

TEST(SelectLaunchTest, RegistryTextIsUsedWholeAndMustBeNumeric) {
  struct Case {
    const char* text;
    bool numeric;
  };
  for (const Case& c : {Case{"11", true}, Case{"11.0", true}, Case{"Office", false}}) {
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    testing::SetOfficeText(host, c.text);
    host.AddAutomationClass("word.application", {"11.0"});
    host.AddFile(kIni, "[winxpLaunchFiles]\r\n11.0=dotted.exe\r\n11=plain.exe\r\n");
    if (c.numeric) {
      EXPECT_THAT(SelectLaunch(host, kIni),
                  Holds(std::string(c.text) == "11" ? "plain.exe" : "dotted.exe"));
    } else {
      EXPECT_THAT(SelectLaunch(host, kIni), FailsWith(error::kInvalidData));
    }
    EXPECT_TRUE(host.automation_objects().empty()) << c.text;  // a text is never empty here
    EXPECT_EQ(host.Caption(status::frmMain, "Label1"), c.text);
  }
}

TEST(SelectLaunchTest, WordAnswerThatIsNotNumericIsAFailure) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  testing::RemoveOffice(host);
  host.AddAutomationClass("word.application", {"beta"});
  EXPECT_THAT(SelectLaunch(host, kIni), FailsWith(error::kInvalidData));
}

TEST(SelectLaunchTest, DefaultLabelLooksUpTheVersionInTheDefaultSectionFirst) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.SetVersion(6, 1, 7601, 2);
  EXPECT_THAT(SelectLaunch(host, kIni), Holds("apps\\other11.exe"));
  EXPECT_EQ(host.Caption(status::frmMain, "Label6"), "default");

  host.SetRegistryNumber(platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName, 12);
  EXPECT_THAT(SelectLaunch(host, kIni), Holds("apps\\fallback.exe"));
}

TEST(SelectLaunchTest, MissingOrEmptyPrimaryEntryGivesTheDefaultEntry) {
  for (const char* primary : {"", "11=\r\n", "12=other.exe\r\n"}) {
    SimulatedHost host;
    testing::SetUpStandardMachine(host);
    host.AddFile(kIni, std::string("[winxpLaunchFiles]\r\n") + primary +
                           "[defaultLaunchFiles]\r\ndefault=d.exe\r\n");
    EXPECT_THAT(SelectLaunch(host, kIni), Holds("d.exe")) << primary;
  }
}

TEST(SelectLaunchTest, NoEntryAtAllGivesEmptyText) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(kIni, "[winxpLaunchFiles]\r\n");
  EXPECT_THAT(SelectLaunch(host, kIni), Holds(""));
}

TEST(SelectLaunchTest, UnwritableFormIsAFailure) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.SetCaptionWritesFail(true);
  EXPECT_THAT(SelectLaunch(host, kIni), FailsWith(error::kGeneric));
}

}  // namespace
}  // namespace checker
