#include <string>

#include "com_registration.h"
#include "launchcheck_exe_fixture.h"

namespace launchcheck_wine {
namespace {

// The automation test server stands in for the word processor.
TEST_F(LaunchcheckExeTest, ProbeAsksTheWordProcessorWhenTheRegistryHasNoVersion) {
  win32_test::ComRegistration word("word.application", win32_test::TestServerPath());
  win32_test::SetServerVersion("12.0.4518");
  const ExeRun run = Launchcheck("--probe --explain " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, XpValues("") + Disc() + "\\apps\\office2007\\setup.exe\n");
  EXPECT_NE(run.err.find("lookup: [winxpLaunchFiles] key \"12\" gives"), std::string::npos)
      << run.err;
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
}

TEST_F(LaunchcheckExeTest, ProbeWhoseWordProcessorCannotTellItsVersionFallsBack) {
  win32_test::ComRegistration word("word.application", win32_test::TestServerPath());
  win32_test::SetServerVersionFails();
  const ExeRun run = Launchcheck("--probe " + QuotedDisc());
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_NE(run.out.find(Disc() + "\\apps\\start.exe\n"), std::string::npos) << run.out;
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

}  // namespace
}  // namespace launchcheck_wine
