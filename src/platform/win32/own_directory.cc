#include "platform/win32/own_directory.h"

#include <windows.h>


#include "platform/win32/system_message.h"

namespace platform {

std::string DirectoryOfModule(const std::string& module_path, const LeadBytes& lead) {
  const size_t slash = FindLastCharacterOf(module_path, "\\", lead);
  if (slash == std::string::npos) return module_path;
  std::string directory(module_path.data(), slash);
  if (directory.size() == 2 && directory[1] == ':') directory += '\\';
  return directory;
}

Result<std::string> RunningProgramPath() {
  // Room for the longest path Windows has (32K characters), so that one call
  // gives it whole.
  std::string path(32 * 1024, '\0');
  const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0) return SystemFailure(::GetLastError(), "cannot find the program's own path");
  path.resize(length);
  return path;
}

}  // namespace platform
