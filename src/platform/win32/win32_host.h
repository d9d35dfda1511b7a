#ifndef LAUNCHER_PLATFORM_WIN32_WIN32_HOST_H_
#define LAUNCHER_PLATFORM_WIN32_WIN32_HOST_H_

#include <memory>

#include "platform/host.h"

namespace platform {

struct ProgramStartCalls;

// The host that runs on Windows itself. Only one should exist at a time: it
// owns the status form's window class and the thread's COM initialisation.
// Destroying it (without EndProgram) releases what it holds, as EndProgram
// does, but leaves the process running.
std::unique_ptr<Host> NewWin32Host();

// The same, starting programs through `calls` (program_start.h): for tests.
std::unique_ptr<Host> NewWin32Host(const ProgramStartCalls& calls);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_WIN32_HOST_H_
