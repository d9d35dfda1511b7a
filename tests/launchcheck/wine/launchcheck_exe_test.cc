#include <string>

#include "launchcheck_exe_fixture.h"

namespace launchcheck_wine {
namespace {

TEST_F(LaunchcheckExeTest, OneSimulatedHostPrintsTheCommandLine) {
  const ExeRun run = Launchcheck("--os 5.1 --office 11 " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, Disc() + "\\apps\\office2003\\setup.exe /q\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(LaunchcheckExeTest, ProbeReadsThisMachinesRegistryNumberAndVersion) {
  office_.SetNumber(11);
  const ExeRun run = Launchcheck("--probe " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, XpValues("11") + Disc() + "\\apps\\office2003\\setup.exe /q\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(LaunchcheckExeTest, ProbeWithARegistryTextThatIsNotANumberFallsBack) {
  office_.SetText("Office");
  const ExeRun run = Launchcheck("--probe --explain " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, XpValues("Office") + Disc() + "\\apps\\start.exe\n");
  EXPECT_NE(run.err.find("path: fallback\n"), std::string::npos) << run.err;
}

TEST_F(LaunchcheckExeTest, ProbeWithNoOfficeAndNoWordProcessorFallsBack) {
  const ExeRun run = Launchcheck("--probe --explain " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_NE(run.out.find("host label (Label6): (not written)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(Disc() + "\\apps\\start.exe\n"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("cannot create object \"word.application\""), std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace launchcheck_wine
