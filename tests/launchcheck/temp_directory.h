#ifndef LAUNCHER_TESTS_LAUNCHCHECK_TEMP_DIRECTORY_H_
#define LAUNCHER_TESTS_LAUNCHCHECK_TEMP_DIRECTORY_H_

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace launchcheck::testing {

// A fresh directory under the system's temporary one, removed with all it
// holds when the test ends.
class TempDirectory {
 public:
  TempDirectory() {
    static std::atomic<int> counter{0};
    const auto stamp = std::filesystem::file_time_type::clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("launchcheck-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` to `relative` ("/"-separated), creating its directories.
  void Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace launchcheck::testing

#endif  // LAUNCHER_TESTS_LAUNCHCHECK_TEMP_DIRECTORY_H_
