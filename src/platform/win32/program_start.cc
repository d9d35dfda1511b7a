#include "platform/win32/program_start.h"

#include <vector>

#include <winnetwk.h>

#include "platform/join.h"
#include "platform/win32/system_library.h"
#include "platform/win32/system_message.h"

namespace platform {
namespace {

// The shell puts a blank between the program and its parameters itself.
std::string ShellParameters(const std::string& arguments) {
  const size_t first = arguments.find_first_not_of(" \t");
  return first == std::string::npos ? std::string()
                                    : std::string(arguments.data() + first, arguments.size() - first);
}

// `program` by its share's own name ("\\server\share\..."), when it lies
// on a mapped network drive and the name can be had; else as it is.
std::string UniversalName(const ProgramStartCalls& calls, const std::string& program) {
  if (program.size() < 3 || program[1] != ':' || program[2] != '\\') return program;
  const char root[] = {program[0], ':', '\\', '\0'};
  if (calls.get_drive_type(root) != DRIVE_REMOTE) return program;
  auto get_universal_name = calls.get_universal_name;
  if (get_universal_name == nullptr &&
      !LoadSystemFunction("mpr.dll", "WNetGetUniversalNameA", &get_universal_name).ok()) {
    return program;
  }
  // The name follows the structure that points to it.
  union {
    UNIVERSAL_NAME_INFOA info;
    char bytes[sizeof(UNIVERSAL_NAME_INFOA) + 2 * MAX_PATH];
  } buffer;
  DWORD size = sizeof(buffer);
  if (get_universal_name(program.c_str(), UNIVERSAL_NAME_INFO_LEVEL, &buffer, &size) != NO_ERROR) {
    return program;
  }
  return buffer.info.lpUniversalName;
}

// The launcher's own thread never initialises COM (automation objects are
// asked on a thread of their own): the shell starts an .exe itself (or, to
// elevate it, through the system's consent service), with no shell
// extension that would need COM. SEE_MASK_FLAG_NO_UI is left out: only
// recent documentation promises that it leaves the consent prompt alone.
// No window is given: the documentation has it only as the parent of the
// shell's own message boxes, not of the consent prompt.
Status StartThroughShell(const ProgramStartCalls& calls, const std::string& program,
                         const std::string& arguments) {
  auto shell_execute = calls.shell_execute;
  if (shell_execute == nullptr) {
    if (Status found = LoadSystemFunction("shell32.dll", "ShellExecuteExA", &shell_execute);
        !found.ok()) {
      return found;
    }
  }
  const std::string parameters = ShellParameters(arguments);
  const std::string file = UniversalName(calls, program);
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  // The launcher ends right after the start: the shell must finish first.
  info.fMask = SEE_MASK_NOASYNC;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (shell_execute(&info)) return {};
  const DWORD error = ::GetLastError();
  if (error != ERROR_SUCCESS) {
    return Failure(static_cast<std::int32_t>(error), SystemMessage(error));
  }
  return Failure(error::kGeneric, Join({"no error number from the shell, code ",
                                        Decimal(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(info.hInstApp)))}));
}

}  // namespace

Status StartProgramOrElevate(const ProgramStartCalls& calls, const std::string& program,
                             const std::string& command_line, const std::string& arguments) {
  // CreateProcessA may write into the command line, so it gets a copy.
  std::string writable = command_line;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (calls.create_process(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return {};
  }
  const DWORD error = ::GetLastError();
  const std::string what = Join({"cannot start ", command_line});
  if (error != kErrorElevationRequired) return SystemFailure(error, what);
  const Status shell = StartThroughShell(calls, program, arguments);
  if (shell.ok()) return {};
  return Failure(
      shell.failure().number(),
      Join({what, ": ", SystemMessage(error),
            "; asking for consent through the shell failed too: ", shell.failure().description()}));
}

}  // namespace platform
