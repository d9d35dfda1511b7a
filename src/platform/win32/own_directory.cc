#include "platform/win32/own_directory.h"

#include <windows.h>

#include <vector>

#include "platform/win32/system_message.h"

namespace platform {

std::string DirectoryOfModule(const std::string& module_path, const LeadBytes& lead) {
  const size_t slash = FindLastCharacterOf(module_path, "\\", lead);
  if (slash == std::string::npos) return module_path;
  std::string directory = module_path.substr(0, slash);
  if (directory.size() == 2 && directory[1] == ':') directory += '\\';
  return directory;
}

Result<std::string> RunningProgramPath() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return SystemFailure(::GetLastError(), "cannot find the program's own path");
    // A full buffer means the path may have been cut short; paths end at 32K.
    if (length < path.size() - 1 || path.size() >= 32 * 1024) {
      return std::string(path.data(), length);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace platform
