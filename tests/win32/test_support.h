#ifndef LAUNCHER_TESTS_WIN32_TEST_SUPPORT_H_
#define LAUNCHER_TESTS_WIN32_TEST_SUPPORT_H_

#include <windows.h>

#include <string>
#include <vector>

namespace win32_test {

// The directory of the running test program, with no trailing "\".
std::string ProgramDirectory();

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDirectory {
 public:
  // `name` may hold blanks and "\" for nested directories.
  explicit TempDirectory(const std::string& name = "launcher test");
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  ~TempDirectory();

  // The directory, with no trailing "\".
  const std::string& path() const { return path_; }

  // Writes `bytes` to path() + "\" + relative (creating directories) and
  // gives its full path.
  std::string WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string MakeDirectory(const std::string& relative) const;
  std::string CopyIn(const std::string& source, const std::string& relative) const;

  // Names of the files directly in path() + "\" + relative.
  std::vector<std::string> Files(const std::string& relative) const;

 private:
  std::string root_;
  std::string path_;
};

// Writes a registry value, creating its key; throws std::runtime_error.
void SetRegistryValue(HKEY root, const std::string& path, const char* name, DWORD type,
                      const std::string& bytes);

// Removes a key and everything below it; a missing key is no error.
void DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace win32_test

#endif  // LAUNCHER_TESTS_WIN32_TEST_SUPPORT_H_
