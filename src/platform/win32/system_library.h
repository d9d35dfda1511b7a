#ifndef LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
#define LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_

#include <windows.h>

#include <string>

#include "platform/win32/system_message.h"

namespace platform {

// Loads the system DLL `name` by its full path in the system directory, so
// that no copy beside the launcher or on the search path is taken. A
// failure when it cannot be loaded.
Result<HMODULE> LoadSystemLibrary(const char* name);

// Sets *function to the export `name` of `module`. A failure when the
// module has no such export.
template <typename Function>
Status Resolve(HMODULE module, const char* name, Function* function) {
  FARPROC address = ::GetProcAddress(module, name);
  if (address == nullptr)
    return SystemFailure(::GetLastError(), std::string("cannot find ") + name);
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return {};
}

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
