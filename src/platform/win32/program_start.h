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
  decltype(&::GetDriveTypeA) get_drive_type = &::GetDriveTypeA;
  // Null: WNetGetUniversalNameA of the system's mpr.dll, looked up when a
  // program on a network drive needs elevation.
  DWORD(WINAPI* get_universal_name)(LPCSTR, DWORD, LPVOID, LPDWORD) = nullptr;
};

// Starts `program` with `command_line` (the program quoted, then
// `arguments`) in a normal, activated window. A program that needs
// elevation (its manifest asks for administrator rights, or the system takes
// it for an installer) cannot be started that way when User Account Control
// is on; it is then started again through the shell with the same
// arguments, which asks the user for consent; a program on a mapped
// network drive by the share's own name then, as the elevated program runs
// where this user's drive letters are not mapped (Microsoft KB 937624). A
// failure when nothing could be started: ERROR_CANCELLED (1223) when the
// user declined; when the shell failed otherwise, the description names
// both failures.
Status StartProgramOrElevate(const ProgramStartCalls& calls, const std::string& program,
                             const std::string& command_line, const std::string& arguments);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_PROGRAM_START_H_
