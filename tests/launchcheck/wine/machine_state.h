#ifndef LAUNCHER_TESTS_LAUNCHCHECK_WINE_MACHINE_STATE_H_
#define LAUNCHER_TESTS_LAUNCHCHECK_WINE_MACHINE_STATE_H_

#include <windows.h>

#include <optional>
#include <string>

namespace launchcheck_wine {

// One registry value that a test sets; what was there before (the value,
// and the keys on its path) is put back when the object goes.
class RegistryValueOverride {
 public:
  RegistryValueOverride(HKEY root, std::string path, std::string name);
  RegistryValueOverride(const RegistryValueOverride&) = delete;
  RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;
  ~RegistryValueOverride();

  // Each throws std::runtime_error when the registry cannot be written.
  void SetNumber(DWORD number);
  void SetText(const std::string& text);
  void Remove();

 private:
  void Write(DWORD type, const std::string& bytes);

  HKEY root_;
  std::string path_;
  std::string name_;
  std::optional<std::string> first_missing_key_;  // created by the test, removed after
  std::optional<std::pair<DWORD, std::string>> saved_;
};

// How a finished program ended and what it wrote.
struct ExeRun {
  DWORD status = 0;
  std::string out;  // carriage returns removed
  std::string err;
};

// Runs `exe` with `arguments` (already quoted as needed), waits for it and
// gives its exit status and output. Throws std::runtime_error when it
// cannot be started.
ExeRun RunExe(const std::string& exe, const std::string& arguments);

// The directory of the running test program, with no trailing "\".
std::string TestProgramDirectory();

}  // namespace launchcheck_wine

#endif  // LAUNCHER_TESTS_LAUNCHCHECK_WINE_MACHINE_STATE_H_
