#ifndef LAUNCHER_PLATFORM_WIN32_PROGRAM_START_H_
#define LAUNCHER_PLATFORM_WIN32_PROGRAM_START_H_

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "platform/result.h"

namespace platform {

// ERROR_ELEVATION_REQUIRED (Vista and later), which these headers lack.
inline constexpr DWORD kErrorElevationRequired = 740;

// The system calls a program start goes through. A test replaces them to
// play a host with User Account Control, which Wine is not.
struct ProgramStartCalls {
  decltype(&::CreateProcessA) create_process = &::CreateProcessA;
  // Null: ShellExecuteExA of the system's shell32.dll, looked up on first
  // use, so that the launcher does not need it to load.
  BOOL(WINAPI* shell_execute)(SHELLEXECUTEINFOA*) = nullptr;
};

// Starts `program` with `command_line` (the program quoted, then
// `arguments`) in a normal, activated window. A program that needs
// elevation (its manifest asks for administrator rights, or the system takes
// it for an installer) cannot be started that way when User Account Control
// is on; it is then started again through the shell with the same
// arguments, which asks the user for consent. A failure when nothing could
// be started; when the shell failed too, the description names both.
Status StartProgramOrElevate(const ProgramStartCalls& calls, const std::string& program,
                             const std::string& command_line, const std::string& arguments);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_PROGRAM_START_H_
