#ifndef LAUNCHER_LAUNCHER_MAIN_H_
#define LAUNCHER_LAUNCHER_MAIN_H_

#include "platform/host.h"

namespace checker {

class Observer;

// The launcher's entry: starts the entry of launch.ini that fits the host,
// or on any failure its default entry. Gives back a failure of that
// fallback launch, which nothing in the launcher handles: the host's
// runtime reports it (platform::FinishProgram), and ends the program. A
// fallback the user declined to let run (error::kCancelled) is no failure.
platform::Status Main(platform::Host& host);

// The same, with `observer` seeing each decision (see Observer). A separate
// overload rather than a default argument, so that &Main still fits a
// program entry taking the host alone.
platform::Status Main(platform::Host& host, Observer* observer);

}  // namespace checker

#endif  // LAUNCHER_LAUNCHER_MAIN_H_
