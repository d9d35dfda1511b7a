#ifndef LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_
#define LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_

namespace platform {

// Keeps DLLs loaded by name from here on out of the launcher's own
// directory, which may be writable by others (a download folder). Uses the
// strictest setting the host offers, found at run time so that hosts
// without it still start the program:
//   SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32): system directory
//   only (Windows 8, and 7 / Vista / 2008 with update KB2533623);
//   else SetDllDirectoryA(""): drops the current directory from the search
//   (XP SP1 and later);
//   else nothing (Windows 98, ME, NT 4, 2000).
void RestrictDllSearch();

}  // namespace platform

#endif  // LAUNCHER_SRC_PLATFORM_WIN32_DLL_SEARCH_H_
