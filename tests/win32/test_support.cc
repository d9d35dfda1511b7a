#include "test_support.h"

#include <stdexcept>

namespace win32_test {
namespace {

void MakeDirectories(const std::string& path) {
  for (size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    CreateDirectoryA(prefix.c_str(), nullptr);
    if (slash == std::string::npos) break;
  }
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\'));
}

TempDirectory::TempDirectory(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  root_ = std::string(temp) + "w32host-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(GetTickCount());
  path_ = root_ + "\\" + name;
  MakeDirectories(path_);
}

TempDirectory::~TempDirectory() { RemoveTree(root_); }

std::string TempDirectory::WriteFile(const std::string& relative, const std::string& bytes) const {
  const std::string full = path_ + "\\" + relative;
  MakeDirectories(full.substr(0, full.find_last_of('\\')));
  HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot write " + full);
  return full;
}

std::string TempDirectory::MakeDirectory(const std::string& relative) const {
  const std::string full = path_ + "\\" + relative;
  MakeDirectories(full);
  return full;
}

std::string TempDirectory::CopyIn(const std::string& source, const std::string& relative) const {
  const std::string full = path_ + "\\" + relative;
  MakeDirectories(full.substr(0, full.find_last_of('\\')));
  if (!CopyFileA(source.c_str(), full.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source + " to " + full);
  }
  return full;
}

std::vector<std::string> TempDirectory::Files(const std::string& relative) const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "\\" + relative + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void SetRegistryValue(HKEY root, const std::string& path, const char* name, DWORD type,
                      const std::string& bytes) {
  HKEY key = nullptr;
  LONG status =
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("cannot write " + path + ": error " + std::to_string(status));
  }
}

void DeleteKeyTree(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  char child[256];
  for (DWORD index = 0;; ++index) {
    DWORD size = sizeof(child);
    if (RegEnumKeyExA(key, index, child, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    children.push_back(child);
  }
  for (const std::string& name : children) DeleteKeyTree(key, name);
  RegCloseKey(key);
  RegDeleteKeyA(root, path.c_str());
}

}  // namespace win32_test
