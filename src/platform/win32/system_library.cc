#include "platform/win32/system_library.h"

#include "platform/join.h"
#include "platform/win32/system_message.h"

namespace platform {

Result<FARPROC> SystemFunction(const char* library, const char* name) {
  char path[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SystemFailure(::GetLastError(), library);
  const std::string full = Join({std::string_view(path, length), "\\", library});
  HMODULE module = ::LoadLibraryA(full.c_str());
  if (module == nullptr) return SystemFailure(::GetLastError(), Join({"cannot load ", full}));
  FARPROC address = ::GetProcAddress(module, name);
  if (address == nullptr) {
    return SystemFailure(::GetLastError(), Join({"cannot find ", name, " in ", full}));
  }
  return address;
}

}  // namespace platform
