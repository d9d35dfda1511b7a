#include "platform/win32/dll_search.h"

namespace platform {
namespace {

// Older SDK headers lack it; the value is fixed by the system.
constexpr DWORD kSearchSystem32 = 0x00000800;

template <typename Function>
void Find(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

DllSearchCalls SystemDllSearchCalls() {
  DllSearchCalls calls;
  // kernel32 is mapped into every process before the program's code runs.
  const HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (kernel32 == nullptr) return calls;
  Find(kernel32, "SetDefaultDllDirectories", &calls.set_default_dll_directories);
  Find(kernel32, "SetDllDirectoryA", &calls.set_dll_directory);
  return calls;
}

void RestrictDllSearch(const DllSearchCalls& calls) {
  if (calls.set_default_dll_directories != nullptr &&
      calls.set_default_dll_directories(kSearchSystem32)) {
    return;
  }
  if (calls.set_dll_directory != nullptr) calls.set_dll_directory("");
}

}  // namespace platform
