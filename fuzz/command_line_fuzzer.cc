// The search for the program in a launch value: checker::ResolveCommand on a
// machine with a random set of files, against a plain model.
// Input: a separator byte, then the install directory, the launch value and
// any number of files, split by it
// ("|C:\Program Files\Disc Tools|setup /q|setup.exe|C:\Program.exe"). A file
// is taken inside the install directory unless its name holds a ":"; a name
// ending in "\" is a directory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launcher/command_line.h"
#include "platform/failure.h"
#include "platform/simulated/simulated_host.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// ".exe" goes after a last path component with no point in it.
std::string WithExtension(const std::string& path) {
  size_t component = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' || path[i] == '/') component = i + 1;
  }
  return path.find('.', component) == std::string::npos ? path + ".exe" : path;
}

struct Expected {
  bool found = false;
  checker::ResolvedCommand command;
};

// Tries every beginning of the value that ends in a non-blank followed by a
// blank or the end, shortest first; the first that names a file wins.
Expected Model(platform::Host& host, const std::string& directory, const std::string& value) {
  Expected out;
  for (size_t last = 0; last < value.size(); ++last) {
    if (IsBlank(value[last])) continue;
    if (last + 1 < value.size() && !IsBlank(value[last + 1])) continue;
    const std::string program = WithExtension(directory + value.substr(0, last + 1));
    if (!host.FileExists(program)) continue;
    out.found = true;
    out.command.program = program;
    out.command.arguments = value.substr(last + 1);
    out.command.command_line = "\"" + program + "\"" + out.command.arguments;
    return out;
  }
  return out;
}

std::string Describe(const Expected& e) {
  if (!e.found) return "no program";
  return "program " + fuzz::Printable(e.command.program) + ", arguments " +
         fuzz::Printable(e.command.arguments) + ", line " + fuzz::Printable(e.command.command_line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string> fields = fuzz::SplitFields(data, size, 3);
  std::string directory = fields[0];
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  const std::string& value = fields[1];

  platform::SimulatedHost host;
  std::string files = fields[2];
  const char separator = size > 0 ? static_cast<char>(data[0]) : '|';
  size_t begin = 0;
  while (begin <= files.size() && !files.empty()) {
    size_t end = files.find(separator, begin);
    if (end == std::string::npos) end = files.size();
    const std::string name = files.substr(begin, end - begin);
    begin = end + 1;
    if (name.empty()) continue;
    const std::string path = name.find(':') != std::string::npos ? name : directory + name;
    if (path.back() == '\\') {
      host.AddDirectory(path);
    } else {
      host.AddFile(path, "");
    }
  }

  const Expected expected = Model(host, directory, value);
  Expected actual;
  try {
    actual.command = checker::ResolveCommand(host, directory, value);
    actual.found = true;
  } catch (const platform::Failure& failure) {
    if (failure.number() != platform::error::kFileNotFound) {
      fuzz::Mismatch("failure number", "file not found", std::to_string(failure.number()));
    }
  }
  const std::string what =
      "ResolveCommand(" + fuzz::Printable(directory) + ", " + fuzz::Printable(value) + ")";
  if (actual.found != expected.found || actual.command.program != expected.command.program ||
      actual.command.arguments != expected.command.arguments ||
      actual.command.command_line != expected.command.command_line) {
    fuzz::Mismatch(what, Describe(expected), Describe(actual));
  }
  // Whatever the files, the program lies under the install directory and
  // its name goes on past it.
  if (actual.found && (actual.command.program.size() <= directory.size() ||
                       actual.command.program.compare(0, directory.size(), directory) != 0)) {
    fuzz::Mismatch(what + ", program outside the value", "a program named inside the value",
                   Describe(actual));
  }
  return 0;
}
