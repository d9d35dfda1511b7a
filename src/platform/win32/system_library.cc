#include "platform/win32/system_library.h"

#include "platform/join.h"

namespace platform {

Result<HMODULE> LoadSystemLibrary(const char* name) {
  char directory[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return SystemFailure(::GetLastError(), std::string("cannot find ") + name);
  }
  const std::string path = Join({std::string_view(directory, length), "\\", name});
  HMODULE module = ::LoadLibraryA(path.c_str());
  if (module == nullptr) return SystemFailure(::GetLastError(), Join({"cannot load ", path}));
  return module;
}

}  // namespace platform
