#ifndef LAUNCHER_TESTS_E2E_LAUNCHER_DIRECTORY_H_
#define LAUNCHER_TESTS_E2E_LAUNCHER_DIRECTORY_H_

#include <filesystem>
#include <string>

namespace e2e {

// A fresh directory, "Disc Tools" (with a blank, as on many discs) unless
// named otherwise, holding a copy of launcher.exe and of the probe, and
// beside it a directory for the probe's record. Both are removed when the
// object goes. Names and paths given and taken as text are in the system code
// page, as the launcher sees them.
class LauncherDirectory {
 public:
  // `programs` is the directory holding launcher.exe and e2e_probe.exe.
  explicit LauncherDirectory(const std::filesystem::path& programs,
                             const std::string& install_name = "Disc Tools",
                             const std::string& launcher_name = "launcher.exe");
  LauncherDirectory(const LauncherDirectory&) = delete;
  LauncherDirectory& operator=(const LauncherDirectory&) = delete;
  ~LauncherDirectory();

  // The Windows path of the directory, with no trailing "\".
  std::string path() const;
  std::string launcher() const;
  // Where the probe writes its record, and the directory that holds it.
  std::string record() const;
  std::string records() const;

  // Writes launch.ini with exactly these bytes.
  void WriteConfig(const std::string& bytes) const;

  // Copies the probe to `relative` (e.g. "my apps\\probe.exe").
  void AddProbe(const std::string& relative) const;

  // Every file and directory below path(): relative name, size and last write
  // time, one per line, sorted.
  std::string Listing() const;

  // The probe's record ("" when it did not run).
  std::string Record() const;

 private:
  std::filesystem::path root_;
  std::filesystem::path install_;
  std::filesystem::path records_;
  std::filesystem::path probe_;
  std::filesystem::path launcher_;
};

}  // namespace e2e

#endif  // LAUNCHER_TESTS_E2E_LAUNCHER_DIRECTORY_H_
