#ifndef LAUNCHER_TESTS_E2E_E2E_SUPPORT_H_
#define LAUNCHER_TESTS_E2E_E2E_SUPPORT_H_

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>

namespace e2e {

inline constexpr char kOfficeKey[] = "Software\\Microsoft\\Office\\Common";
inline constexpr char kOfficeValue[] = "LastAccessInstall";
inline constexpr char kWineVersionKey[] = "Software\\Wine\\AppDefaults\\launcher.exe";
// A guard against a hung run, not a measurement.
inline constexpr unsigned long kRunTimeoutMs = 60000;

// The directory of the running test program, where the programs it runs lie.
std::filesystem::path ProgramsDirectory();

// Lines of a launch.ini as Windows writes them.
std::string Ini(std::initializer_list<std::string> lines);

// Removes the Office version value, and its keys when they hold nothing
// else, so that a suite leaves the prefix as it found it.
void RemoveOfficeValue();

// Everything the launcher could change in the registry.
std::map<std::string, std::string> RegistryTheLauncherSees();

// Wine starts its desktop process for the first window of a session, as a
// child of whoever creates that window. Made here, with a window kept for the
// whole suite, it is not counted as something the launcher started.
class DesktopKeeper : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;

 private:
  HWND window_ = nullptr;
};

}  // namespace e2e

#endif  // LAUNCHER_TESTS_E2E_E2E_SUPPORT_H_
