#ifndef LAUNCHER_PLATFORM_SIMULATED_START_LIMITS_H_
#define LAUNCHER_PLATFORM_SIMULATED_START_LIMITS_H_

#include <string>

#include "platform/result.h"
#include "platform/start_limits.h"

namespace platform {

// A failure where CreateProcessA fails because `program` or
// `command_line` is too long: ERROR_FILENAME_EXCED_RANGE for the path (the
// ANSI functions' error for a name beyond MAX_PATH; Wine's CreateProcessA
// gives 2 or 123 there), ERROR_INVALID_PARAMETER for the command line (as
// Wine gives it).
Status CheckStartLimits(const std::string& program, const std::string& command_line);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_SIMULATED_START_LIMITS_H_
