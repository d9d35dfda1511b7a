#ifndef LAUNCHER_LAUNCHER_MAIN_H_
#define LAUNCHER_LAUNCHER_MAIN_H_

#include "platform/host.h"

namespace checker {

// The launcher's entry: starts the entry of launch.ini that fits the host,
// or on any failure its default entry, and ends the program. A failure while
// starting the default entry reaches the host's unhandled-failure report.
// Does not return.
void Main(platform::Host& host);

}  // namespace checker

#endif  // LAUNCHER_LAUNCHER_MAIN_H_
