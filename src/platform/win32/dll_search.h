#ifndef LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_
#define LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_

#include <windows.h>

namespace platform {

// The calls RestrictDllSearch may make; null: the host does not export it.
// A test replaces them to play the older hosts, since Wine has both.
struct DllSearchCalls {
  BOOL(WINAPI* set_default_dll_directories)(DWORD) = nullptr;
  BOOL(WINAPI* set_dll_directory)(LPCSTR) = nullptr;
};

// Those that this host's kernel32 exports.
DllSearchCalls SystemDllSearchCalls();

// Keeps DLLs loaded by name from here on out of the launcher's own
// directory, which may be writable by others (a download folder). Uses the
// strictest setting the host offers, found at run time so that hosts
// without it still start the program:
//   SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32): system directory
//   only (Windows 8, and 7 / Vista / 2008 with update KB2533623);
//   else, or when it fails, SetDllDirectoryA(""): drops the current
//   directory from the search (XP SP1 and later);
//   else nothing (Windows 98, ME, NT 4, 2000).
void RestrictDllSearch(const DllSearchCalls& calls);
inline void RestrictDllSearch() { RestrictDllSearch(SystemDllSearchCalls()); }

}  // namespace platform

#endif  // LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_
