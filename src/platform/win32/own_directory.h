#ifndef LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_
#define LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_

#include <string>

namespace platform {

// The directory part of a module's full path: no trailing "\" except at a
// drive root ("D:\launcher.exe" gives "D:\").
std::string DirectoryOfModule(const std::string& module_path);

// The full path of the running program, however long. Raises Failure when
// the system cannot tell it.
std::string RunningProgramPath();

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_
