#include "platform/win32/dll_search.h"

#include <windows.h>

namespace platform {
namespace {

// Older SDK headers lack it; the value is fixed by the system.
constexpr DWORD kSearchSystem32 = 0x00000800;

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

void RestrictDllSearch() {
  // kernel32 is mapped into every process before the program's code runs.
  const HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (kernel32 == nullptr) return;
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  auto set_default = Find<SetDefaultDllDirectoriesFunction>(kernel32, "SetDefaultDllDirectories");
  if (set_default != nullptr && set_default(kSearchSystem32)) return;
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  auto set_directory = Find<SetDllDirectoryFunction>(kernel32, "SetDllDirectoryA");
  if (set_directory != nullptr) set_directory("");
}

}  // namespace platform
