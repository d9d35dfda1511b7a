#include "launcher_directory.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace e2e {
namespace {

std::wstring FromSystemCodePage(const std::string& text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string InSystemCodePage(const fs::path& path) {
  const std::wstring& wide = path.native();
  const int size = static_cast<int>(wide.size());
  std::string text(WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                      nullptr, nullptr);
  return text;
}

}  // namespace

LauncherDirectory::LauncherDirectory(const fs::path& programs, const std::string& install_name,
                                     const std::string& launcher_name) {
  static int serial = 0;
  root_ = fs::temp_directory_path() / ("launcher e2e " + std::to_string(GetCurrentProcessId()) +
                                       "-" + std::to_string(++serial));
  install_ = root_ / FromSystemCodePage(install_name);
  launcher_ = install_ / FromSystemCodePage(launcher_name);
  records_ = root_ / "records";
  probe_ = programs / "e2e_probe.exe";
  fs::create_directories(install_);
  fs::create_directories(records_);
  fs::copy_file(programs / "launcher.exe", launcher_);
  fs::copy_file(probe_, install_ / "probe.exe");
}

LauncherDirectory::~LauncherDirectory() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string LauncherDirectory::path() const { return InSystemCodePage(install_); }
std::string LauncherDirectory::launcher() const { return InSystemCodePage(launcher_); }
std::string LauncherDirectory::record() const { return InSystemCodePage(records_ / "probe.txt"); }
std::string LauncherDirectory::records() const { return InSystemCodePage(records_); }

void LauncherDirectory::WriteConfig(const std::string& bytes) const {
  std::ofstream(install_ / "launch.ini", std::ios::binary) << bytes;
}

void LauncherDirectory::AddProbe(const std::string& relative) const {
  const fs::path target = install_ / FromSystemCodePage(relative);
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
  std::ifstream in(records_ / "probe.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace e2e
