#ifndef LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
#define LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_

#include <windows.h>

#include "platform/result.h"

namespace platform {

// The export `name` of the system DLL `library`, which is loaded by its full
// path in the system directory, so that no copy beside the launcher or on
// the search path is taken, and kept until the process ends (a library such
// as the shell may leave threads of its own running in it). A failure when
// it cannot be loaded or has no such export.
Result<FARPROC> SystemFunction(const char* library, const char* name);

// The same, as the function's own type.
template <typename Function>
Status LoadSystemFunction(const char* library, const char* name, Function* function) {
  Result<FARPROC> address = SystemFunction(library, name);
  if (!address.ok()) return address.TakeFailure();
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(*address));
  return {};
}

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
