#ifndef LAUNCHER_TESTS_TEST_MACHINE_H_
#define LAUNCHER_TESTS_TEST_MACHINE_H_

#include <string>
#include <vector>

#include "launcher/launch_selection.h"
#include "platform/simulated/simulated_host.h"

namespace checker::testing {

inline constexpr char kDir[] = "C:\\Apps\\Launcher";
inline constexpr char kIni[] = "C:\\Apps\\Launcher\\launch.ini";

// A launch.ini with an entry for Windows XP and Office 11, one for a host
// labelled "default" and Office 11, and a default entry.
inline constexpr char kStandardIni[] =
    "[winxpLaunchFiles]\r\n"
    "11=apps\\xp11.exe\r\n"
    "[defaultLaunchFiles]\r\n"
    "11=apps\\other11.exe\r\n"
    "default=apps\\fallback.exe\r\n";

// Windows XP with Office 11 in the registry, the standard launch.ini, and
// every program it names.
inline void SetUpStandardMachine(platform::SimulatedHost& host) {
  host.SetOwnDirectory(kDir);
  host.SetVersion(5, 1, 2600, 2);
  host.SetRegistryNumber(platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName, 11);
  host.AddFile(kIni, kStandardIni);
  for (const char* program : {"xp11.exe", "other11.exe", "fallback.exe"}) {
    host.AddFile(std::string(kDir) + "\\apps\\" + program, "");
  }
}

inline void SetOfficeText(platform::SimulatedHost& host, const std::string& text) {
  host.SetRegistryText(platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName, text);
}

inline void RemoveOffice(platform::SimulatedHost& host) {
  host.SetRegistryValue(platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName, 3, "");
}

}  // namespace checker::testing

#endif  // LAUNCHER_TESTS_TEST_MACHINE_H_
