#include "launcher/command_line.h"

#include "launcher/observer.h"
#include "platform/join.h"
#include "platform/start_limits.h"

namespace checker {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasExtension(const std::string& path, const platform::LeadBytes& lead) {
  const size_t name = platform::FindLastCharacterOf(path, "\\/", lead);
  const size_t dot = platform::FindLastCharacterOf(path, ".", lead);
  return dot != std::string::npos && (name == std::string::npos || dot > name);
}

}  // namespace

platform::Result<ResolvedCommand> ResolveCommand(platform::Host& host, const std::string& directory,
                                                 const std::string& launch_value) {
  const platform::LeadBytes lead = host.SystemLeadBytes();
  // Each prefix ends after a character that is no blank, before a blank or
  // the end; a double-byte character is never a blank.
  bool after_blank = true;
  for (size_t end = 0; end <= launch_value.size();) {
    const bool at_boundary = end == launch_value.size() || IsBlank(launch_value[end]);
    if (at_boundary && !after_blank) {
      std::string program = platform::Join({directory, std::string_view(launch_value.data(), end)});
      if (!HasExtension(program, lead)) program += ".exe";
      if (host.FileExists(program)) {
        std::string arguments(launch_value.data() + end, launch_value.size() - end);
        std::string command_line = platform::Join({"\"", program, "\"", arguments});
        return ResolvedCommand{std::move(program), std::move(arguments), std::move(command_line)};
      }
    }
    if (end == launch_value.size()) break;
    const size_t length = platform::CharacterLength(launch_value, end, lead);
    after_blank = length == 1 && IsBlank(launch_value[end]);
    end += length;
  }
  return platform::Failure(
      platform::error::kFileNotFound,
      platform::Join({"cannot start ", directory, launch_value, ": no such program"}));
}

platform::Status StartLaunchValue(platform::Host& host, const std::string& directory,
                                  const std::string& launch_value, Observer* observer) {
  // Checked before any file is looked for: the lookup keeps no more of a
  // value than this, so a value that reaches it may be cut short.
  if (directory.size() + launch_value.size() >= platform::kMaxCommandLine) {
    const std::string_view start =
        platform::LeadingCharacters(launch_value, 64, host.SystemLeadBytes());
    return platform::Failure(
        platform::error::kInvalidParameter,
        platform::Join(
            {"cannot start ", directory, start, "...: its command line is longer than the ",
             platform::Decimal(platform::kMaxCommandLine - 1), " characters that Windows accepts"}));
  }
  platform::Result<ResolvedCommand> command = ResolveCommand(host, directory, launch_value);
  if (!command.ok()) return command.TakeFailure();
  if (observer != nullptr) observer->CommandResolved(directory + launch_value, *command);
  return host.StartProgram(command->program, command->command_line, command->arguments);
}

}  // namespace checker
