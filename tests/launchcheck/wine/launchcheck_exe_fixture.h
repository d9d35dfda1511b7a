#ifndef LAUNCHER_TESTS_LAUNCHCHECK_WINE_LAUNCHCHECK_EXE_FIXTURE_H_
#define LAUNCHER_TESTS_LAUNCHCHECK_WINE_LAUNCHCHECK_EXE_FIXTURE_H_

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../temp_directory.h"
#include "machine_state.h"

namespace launchcheck_wine {

inline constexpr char kOfficeKey[] = "Software\\Microsoft\\Office\\Common";
inline constexpr char kOfficeValue[] = "LastAccessInstall";

// A disc with a launch.ini and the programs it names; launchcheck.exe lies
// beside the test program. Windows reports XP to launchcheck.exe, and the
// Office value is the test's to set; both are put back afterwards.
class LaunchcheckExeTest : public ::testing::Test {
 protected:
  LaunchcheckExeTest()
      : office_(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue),
        windows_version_(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\launchcheck.exe",
                         "Version") {
    windows_version_.SetText("winxp");
    office_.Remove();
    disc_.Write("launch.ini",
                "[winxpLaunchFiles]\r\n"
                "11=apps\\office2003\\setup.exe /q\r\n"
                "12=apps\\office2007\\setup.exe\r\n"
                "[defaultLaunchFiles]\r\n"
                "default=apps\\start.exe\r\n");
    for (const char* program :
         {"apps/office2003/setup.exe", "apps/office2007/setup.exe", "apps/start.exe"}) {
      disc_.Write(program, "");
    }
  }

  ExeRun Launchcheck(const std::string& arguments) {
    return RunExe(TestProgramDirectory() + "\\launchcheck.exe", arguments);
  }

  std::string Disc() const { return disc_.path().string(); }
  std::string QuotedDisc() const { return "\"" + Disc() + "\""; }

  // What --probe prints before the command line on an XP machine whose
  // Office version is `office` and known before the host is labelled.
  static std::string XpValues(const std::string& office) {
    return "office version (Label1): " + office +
           "\n"
           "build (Label2): 2600\n"
           "major version (Label3): 5\n"
           "minor version (Label4): 1\n"
           "platform (Label5): 2\n"
           "host label (Label6): winxp\n";
  }

  RegistryValueOverride office_;
  RegistryValueOverride windows_version_;
  launchcheck::testing::TempDirectory disc_;
};

}  // namespace launchcheck_wine

#endif  // LAUNCHER_TESTS_LAUNCHCHECK_WINE_LAUNCHCHECK_EXE_FIXTURE_H_
