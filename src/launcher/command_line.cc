#include "launcher/command_line.h"

#include "launcher/observer.h"

namespace checker {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasExtension(const std::string& path) {
  const size_t name = path.find_last_of("\\/");
  const size_t dot = path.rfind('.');
  return dot != std::string::npos && (name == std::string::npos || dot > name);
}

}  // namespace

ResolvedCommand ResolveCommand(platform::Host& host, const std::string& directory,
                               const std::string& launch_value) {
  for (size_t end = 1; end <= launch_value.size(); ++end) {
    const bool at_boundary = end == launch_value.size() || IsBlank(launch_value[end]);
    if (!at_boundary || IsBlank(launch_value[end - 1])) continue;
    std::string program = directory + launch_value.substr(0, end);
    if (!HasExtension(program)) program += ".exe";
    if (host.FileExists(program)) {
      std::string arguments = launch_value.substr(end);
      std::string command_line = "\"" + program + "\"" + arguments;
      return {std::move(program), std::move(arguments), std::move(command_line)};
    }
  }
  throw platform::Failure(platform::error::kFileNotFound,
                          "cannot start " + directory + launch_value + ": no such program");
}

void StartLaunchValue(platform::Host& host, const std::string& directory,
                      const std::string& launch_value, Observer* observer) {
  const ResolvedCommand command = ResolveCommand(host, directory, launch_value);
  if (observer != nullptr) observer->CommandResolved(directory + launch_value, command);
  host.StartProgram(command.program, command.command_line, command.arguments);
}

}  // namespace checker
