#include "probes/host_os_label.h"

#include <gtest/gtest.h>

#include "platform/simulated/simulated_host.h"
#include "status/frm_main.h"

namespace checker {
namespace {

using platform::SimulatedHost;

struct VersionCase {
  std::uint32_t major;
  std::uint32_t minor;
  const char* label;
};

TEST(GetHostOsLabelTest, LabelsEachWindowsFamily) {
  const VersionCase cases[] = {
      {4, 10, "win98"},    {4, 1, "win98"},     {4, 89, "win98"},   {4, 90, "winme"},
      {4, 0, "winnt"},     {3, 0, "winnt"},     {0, 0, "winnt"},    {5, 0, "win2k"},
      {5, 1, "winxp"},     {5, 2, "winxp"},     {6, 0, "winvista"}, {6, 1, "default"},
      {6, 2, "default"},   {10, 0, "default"},  {3, 51, "default"}, {3, 10, "default"},
      {0xFFFFFFFF, 0, "winnt"},  // reads as -1
      {70000, 0, "default"},     // does not fit in 16 bits
      {5, 0x8000, "default"},
  };
  for (const VersionCase& c : cases) {
    SimulatedHost host;
    host.SetVersion(c.major, c.minor, 0, 2);
    EXPECT_EQ(GetHostOsLabel(host), c.label) << c.major << "." << c.minor;
  }
}

TEST(GetHostOsLabelTest, WritesTheFourNumbersInOrder) {
  SimulatedHost host;
  host.SetVersion(5, 1, 2600, 2);
  EXPECT_EQ(GetHostOsLabel(host), "winxp");
  const auto& writes = host.caption_writes();
  ASSERT_EQ(writes.size(), 4u);
  const char* const expected[][2] = {
      {"Label2", "2600"}, {"Label3", "5"}, {"Label4", "1"}, {"Label5", "2"}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(writes[i].control, expected[i][0]);
    EXPECT_EQ(writes[i].text, expected[i][1]);
  }
}

TEST(GetHostOsLabelTest, NumbersAreShownAsSigned32Bit) {
  SimulatedHost host;
  host.SetVersion(4, 10, 67766446, 0xFFFFFFFF);
  GetHostOsLabel(host);
  EXPECT_EQ(host.Caption(status::frmMain, "Label2"), "67766446");
  EXPECT_EQ(host.Caption(status::frmMain, "Label5"), "-1");
}

TEST(GetHostOsLabelTest, FailedVersionCallShowsZerosAndGivesWinnt) {
  SimulatedHost host;
  host.SetVersion(5, 1, 2600, 2);
  host.SetVersionCallFails(true);
  EXPECT_EQ(GetHostOsLabel(host), "winnt");
  EXPECT_EQ(host.Caption(status::frmMain, "Label3"), "0");
}

TEST(GetHostOsLabelTest, OverflowKeepsTheNumbersAlreadyWritten) {
  SimulatedHost host;
  host.SetVersion(70000, 1, 7, 2);
  EXPECT_EQ(GetHostOsLabel(host), "default");
  EXPECT_EQ(host.Caption(status::frmMain, "Label3"), "70000");
  EXPECT_EQ(host.Caption(status::frmMain, "Label5"), "2");
}

TEST(GetHostOsLabelTest, UnwritableFormGivesDefault) {
  SimulatedHost host;
  host.SetVersion(5, 1, 2600, 2);
  host.SetCaptionWritesFail(true);
  EXPECT_EQ(GetHostOsLabel(host), "default");
}

}  // namespace
}  // namespace checker
