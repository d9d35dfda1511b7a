#include "platform/simulated/start_limits.h"

#include "platform/result.h"

namespace platform {

Status CheckStartLimits(const std::string& program, const std::string& command_line) {
  if (program.size() >= kMaxPath) {
    return Failure(error::kFilenameTooLong,
                   "cannot start \"" + program + "\": its path is " +
                       std::to_string(program.size()) + " characters, more than the " +
                       std::to_string(kMaxPath - 1) + " that Windows accepts (MAX_PATH)");
  }
  if (command_line.size() >= kMaxCommandLine) {
    return Failure(error::kInvalidParameter,
                   "cannot start \"" + program + "\": its command line is " +
                       std::to_string(command_line.size()) + " characters, more than the " +
                       std::to_string(kMaxCommandLine - 1) + " that Windows accepts");
  }
  return {};
}

}  // namespace platform
