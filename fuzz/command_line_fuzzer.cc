// The search for the program in a launch value: checker::ResolveCommand on a
// machine with a random set of files, against a plain model, in a
// single-byte code page and in code page 932.
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

// The characters of `text`. In code page 932 a lead byte (0x81-0x9F,
// 0xE0-0xFC) and the byte after it are one character.
std::vector<std::string> Characters(const std::string& text, bool code_page_932) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    characters.push_back(text.substr(i, code_page_932 && lead ? 2 : 1));
    i += characters.back().size() - 1;
  }
  return characters;
}

bool IsBlank(const std::string& c) { return c == " " || c == "\t"; }

bool EndsWithBackslash(const std::string& text, bool code_page_932) {
  return !text.empty() && Characters(text, code_page_932).back() == "\\";
}

// ".exe" goes after a last path component with no point in it.
std::string WithExtension(const std::string& path, bool code_page_932) {
  bool point = false;
  for (const std::string& c : Characters(path, code_page_932)) {
    if (c == "\\" || c == "/") point = false;
    if (c == ".") point = true;
  }
  return point ? path : path + ".exe";
}

struct Expected {
  bool found = false;
  checker::ResolvedCommand command;
};

// Tries every beginning of the value that ends in a non-blank followed by a
// blank or the end, shortest first; the first that names a file wins.
Expected Model(platform::Host& host, const std::string& directory, const std::string& value,
               bool code_page_932) {
  Expected out;
  const std::vector<std::string> characters = Characters(value, code_page_932);
  size_t end = 0;
  for (size_t k = 0; k < characters.size(); ++k) {
    end += characters[k].size();
    if (IsBlank(characters[k])) continue;
    if (k + 1 < characters.size() && !IsBlank(characters[k + 1])) continue;
    const std::string program = WithExtension(directory + value.substr(0, end), code_page_932);
    if (!host.FileExists(program)) continue;
    out.found = true;
    out.command.program = program;
    out.command.arguments = value.substr(end);
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

// One input on a machine whose system code page is single-byte, or 932.
void Check(const std::vector<std::string>& fields, char separator, bool code_page_932) {
  std::string directory = fields[0];
  if (!EndsWithBackslash(directory, code_page_932)) directory += '\\';
  const std::string& value = fields[1];

  platform::SimulatedHost host;
  if (code_page_932) host.UseCodePage932();
  const std::string& files = fields[2];
  size_t begin = 0;
  while (begin <= files.size() && !files.empty()) {
    size_t end = files.find(separator, begin);
    if (end == std::string::npos) end = files.size();
    const std::string name = files.substr(begin, end - begin);
    begin = end + 1;
    if (name.empty()) continue;
    const std::string path = name.find(':') != std::string::npos ? name : directory + name;
    if (EndsWithBackslash(path, code_page_932)) {
      host.AddDirectory(path);
    } else {
      host.AddFile(path, "");
    }
  }

  const Expected expected = Model(host, directory, value, code_page_932);
  Expected actual;
  platform::Result<checker::ResolvedCommand> resolved =
      checker::ResolveCommand(host, directory, value);
  if (resolved.ok()) {
    actual.command = *std::move(resolved);
    actual.found = true;
  } else if (resolved.failure().number() != platform::error::kFileNotFound) {
    fuzz::Mismatch("failure number", "file not found", std::to_string(resolved.failure().number()));
  }
  const std::string what = std::string(code_page_932 ? "code page 932: " : "") + "ResolveCommand(" +
                           fuzz::Printable(directory) + ", " + fuzz::Printable(value) + ")";
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string> fields = fuzz::SplitFields(data, size, 3);
  const char separator = size > 0 ? static_cast<char>(data[0]) : '|';
  for (const bool code_page_932 : {false, true}) Check(fields, separator, code_page_932);
  return 0;
}
