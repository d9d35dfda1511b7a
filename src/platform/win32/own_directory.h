#ifndef LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_
#define LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_

#include <string>

#include "platform/lead_bytes.h"
#include "platform/result.h"

namespace platform {

// The directory part of a module's full path: no trailing "\" except at a
// drive root ("D:\launcher.exe" gives "D:\"). A "\" that is the second byte
// of a double-byte character (`lead`) separates nothing.
std::string DirectoryOfModule(const std::string& module_path, const LeadBytes& lead);

// The full path of the running program, however long (up to the 32K
// characters of the longest path). A failure when the system cannot tell it.
Result<std::string> RunningProgramPath();

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_OWN_DIRECTORY_H_
