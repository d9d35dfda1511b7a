#ifndef LAUNCHER_PLATFORM_RUN_PROGRAM_H_
#define LAUNCHER_PLATFORM_RUN_PROGRAM_H_

#include "platform/host.h"

namespace platform {

// Runs `entry` the way the host runtime runs a program: a Failure that no
// guard inside caught goes to the host's unhandled-failure report; an entry
// that returns ends the program. Does not return.
[[noreturn]] void RunProgram(Host& host, void (*entry)(Host&));

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_RUN_PROGRAM_H_
