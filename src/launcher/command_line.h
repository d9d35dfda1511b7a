#ifndef LAUNCHER_LAUNCHER_COMMAND_LINE_H_
#define LAUNCHER_LAUNCHER_COMMAND_LINE_H_

#include <string>

#include "platform/host.h"

namespace checker {

class Observer;

// A launch value resolved to the program it names and the rest of it.
struct ResolvedCommand {
  std::string program;       // full path of an existing file
  std::string arguments;     // what follows the program in the launch value, unchanged
  std::string command_line;  // the program quoted, then the arguments
};

// Finds the program that `directory` (install directory + separator) +
// `launch_value` names, the way Windows reads an unquoted command line: the
// shortest blank-separated prefix that is an existing file, with ".exe"
// appended when the prefix has no extension. Only prefixes that end inside
// the launch value count, so a blank in the install directory can never
// select a program outside it. A failure (error::kFileNotFound) when no
// prefix names a file.
platform::Result<ResolvedCommand> ResolveCommand(platform::Host& host, const std::string& directory,
                                                 const std::string& launch_value);

// Starts what `directory` + `launch_value` names, in a normal, activated
// window, without waiting. A failure when nothing can be started, or when
// `directory` and `launch_value` make a command line longer than Windows
// starts (error::kInvalidParameter).
// `observer`, when given, sees the resolved command before the start.
platform::Status StartLaunchValue(platform::Host& host, const std::string& directory,
                                  const std::string& launch_value, Observer* observer = nullptr);

}  // namespace checker

#endif  // LAUNCHER_LAUNCHER_COMMAND_LINE_H_
