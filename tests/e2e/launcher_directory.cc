#include "launcher_directory.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace e2e {

LauncherDirectory::LauncherDirectory(const fs::path& programs) {
  static int serial = 0;
  root_ = fs::temp_directory_path() / ("launcher e2e " + std::to_string(GetCurrentProcessId()) +
                                       "-" + std::to_string(++serial));
  install_ = root_ / "Disc Tools";
  records_ = root_ / "records";
  probe_ = programs / "e2e_probe.exe";
  fs::create_directories(install_);
  fs::create_directories(records_);
  fs::copy_file(programs / "launcher.exe", install_ / "launcher.exe");
  fs::copy_file(probe_, install_ / "probe.exe");
}

LauncherDirectory::~LauncherDirectory() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void LauncherDirectory::WriteConfig(const std::string& bytes) const {
  std::ofstream(install_ / "launch.ini", std::ios::binary) << bytes;
}

void LauncherDirectory::AddProbe(const std::string& relative) const {
  const fs::path target = install_ / relative;
  fs::create_directories(target.parent_path());
  fs::copy_file(probe_, target);
}

std::string LauncherDirectory::Listing() const {
  std::set<std::string> lines;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(install_)) {
    std::ostringstream line;
    line << fs::relative(entry.path(), install_).string() << " "
         << (entry.is_directory() ? 0 : entry.file_size()) << " "
         << entry.last_write_time().time_since_epoch().count();
    lines.insert(line.str());
  }
  std::string listing;
  for (const std::string& line : lines) listing += line + "\n";
  return listing;
}

std::string LauncherDirectory::Record() const {
  std::ifstream in(record(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace e2e
