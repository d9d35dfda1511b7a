#ifndef LAUNCHER_PLATFORM_RUN_PROGRAM_H_
#define LAUNCHER_PLATFORM_RUN_PROGRAM_H_

#include "platform/host.h"

namespace platform {

// What the host runtime does once a program's entry has given back
// `outcome`: a failure that no guard inside handled goes to the host's
// report, and the program ends, with exit status 1 after a report, else 0.
// Gives that status; the Windows host ends the process instead.
int FinishProgram(Host& host, const Status& outcome);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_RUN_PROGRAM_H_
