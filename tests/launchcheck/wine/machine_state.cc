#include "machine_state.h"

#include <stdexcept>
#include <vector>

namespace launchcheck_wine {
namespace {

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string ReadOutput(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD count = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &count, nullptr) && count > 0) {
    for (DWORD i = 0; i < count; ++i) {
      if (buffer[i] != '\r') bytes.push_back(buffer[i]);
    }
  }
  CloseHandle(file);
  DeleteFileA(path.c_str());
  return bytes;
}

HANDLE OutputFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  return file;
}

}  // namespace

RegistryValueOverride::RegistryValueOverride(HKEY root, std::string path, std::string name)
    : root_(root), path_(std::move(path)), name_(std::move(name)) {
  for (size_t end = 0; end != std::string::npos;) {
    end = path_.find('\\', end + 1);
    const std::string prefix = path_.substr(0, end);
    if (!KeyExists(root_, prefix)) {
      first_missing_key_ = prefix;
      return;
    }
  }
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string bytes(size, '\0');
    RegQueryValueExA(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                     &size);
    saved_.emplace(type, bytes.substr(0, size));
  }
  RegCloseKey(key);
}

RegistryValueOverride::~RegistryValueOverride() {
  if (first_missing_key_) {
    RegDeleteTreeA(root_, first_missing_key_->c_str());
    return;
  }
  try {
    if (saved_) {
      Write(saved_->first, saved_->second);
    } else {
      Remove();
    }
  } catch (const std::exception&) {
    // Nothing better to do while a test ends.
  }
}

void RegistryValueOverride::Write(DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  LONG status =
      RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status =
        RegSetValueExA(key, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("cannot write " + path_ + ": error " + std::to_string(status));
  }
}

void RegistryValueOverride::SetNumber(DWORD number) {
  Write(REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number)));
}

void RegistryValueOverride::SetText(const std::string& text) {
  Write(REG_SZ, text + std::string(1, '\0'));
}

void RegistryValueOverride::Remove() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name_.c_str());
  RegCloseKey(key);
}

ExeRun RunExe(const std::string& exe, const std::string& arguments) {
  const std::string base =
      TestProgramDirectory() + "\\launchcheck-run-" + std::to_string(GetCurrentProcessId());
  HANDLE out = OutputFile(base + ".out");
  HANDLE err = OutputFile(base + ".err");
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  std::string command_line = "\"" + exe + "\" " + arguments;
  std::vector<char> writable(command_line.begin(), command_line.end());
  writable.push_back('\0');
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) throw std::runtime_error("cannot start " + exe);
  WaitForSingleObject(process.hProcess, INFINITE);
  ExeRun run;
  GetExitCodeProcess(process.hProcess, &run.status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.out = ReadOutput(base + ".out");
  run.err = ReadOutput(base + ".err");
  return run;
}

std::string TestProgramDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  return directory.substr(0, directory.find_last_of('\\'));
}

}  // namespace launchcheck_wine
