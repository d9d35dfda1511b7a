#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_PROBE_HOST_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_PROBE_HOST_H_

#include "launchcheck.h"

namespace launchcheck {

// The host of this machine for --probe, where the build has one.
ProbeHostFactory ThisMachine();

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_PROBE_HOST_H_
