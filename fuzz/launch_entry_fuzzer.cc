// launch.ini lookup: arbitrary file bytes, section and key, against a plain
// model of the format. Input: a separator byte, then section, key and the
// file's bytes split by it ("|winxpLaunchFiles|11|[winxpLaunchFiles]\r...").
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/launch_entry.h"
#include "fuzz_support.h"
#include "platform/line_reader.h"
#include "platform/simulated/simulated_host.h"

namespace {

constexpr char kIni[] = "C:\\Apps\\Launcher\\launch.ini";

// Lines end at CR or CR LF; a lone LF is an ordinary byte; a last line
// without terminator counts when it is not empty.
std::vector<std::string> ModelLines(const std::string& file) {
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < file.size()) {
    if (file[i] == '\r') {
      lines.push_back(line);
      line.clear();
      ++i;
      if (i < file.size() && file[i] == '\n') ++i;
    } else {
      line += file[i];
      ++i;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string ModelLookup(const std::string& file, const std::string& section,
                        const std::string& key) {
  const std::string header = "[" + section + "]";
  const std::string entry = key + "=";
  bool in_section = false;
  for (const std::string& line : ModelLines(file)) {
    const bool has_bracket = line.find('[') != std::string::npos;
    if (has_bracket) in_section = SameIgnoringCase(line, header);
    if (has_bracket || !in_section) continue;
    if (line.size() >= entry.size() &&
        SameIgnoringCase(std::string_view(line).substr(0, entry.size()), entry)) {
      return line.substr(entry.size());
    }
  }
  return "";
}

// The shared splitter fed in small pieces, so that a CR at the end of one
// read and its LF at the start of the next are exercised too.
std::vector<std::string> SplitterLines(const std::string& file, size_t chunk, size_t piece) {
  size_t position = 0;
  platform::LineReader reader(
      [&](char* buffer, size_t size) {
        const size_t count = std::min({size, piece, file.size() - position});
        std::copy_n(file.data() + position, count, buffer);
        position += count;
        return count;
      },
      chunk);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.emplace_back(reader.ReadLine());
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out = std::to_string(lines.size()) + " lines:";
  for (const std::string& line : lines) out += " " + fuzz::Printable(line, 40);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::vector<std::string> fields = fuzz::SplitFields(data, size, 3);
  const std::string& section = fields[0];
  const std::string& key = fields[1];
  const std::string& file = fields[2];

  platform::SimulatedHost host;
  host.AddFile(kIni, file);
  const std::string expected = ModelLookup(file, section, key);
  const std::string actual = checker::ReadLaunchEntry(host, kIni, section, key);
  if (actual != expected) {
    fuzz::Mismatch("ReadLaunchEntry [" + fuzz::Printable(section) + "] " + fuzz::Printable(key),
                   fuzz::Printable(expected), fuzz::Printable(actual));
  }
  if (host.open_files() != 0) fuzz::Mismatch("open files after lookup", "0", "open");

  const std::vector<std::string> lines = ModelLines(file);
  for (const auto& [chunk, piece] : {std::pair<size_t, size_t>{1, 1}, {2, 3}, {3, 1}, {5, 7}}) {
    const std::vector<std::string> split = SplitterLines(file, chunk, piece);
    if (split != lines) {
      fuzz::Mismatch(
          "LineReader, chunk " + std::to_string(chunk) + ", reads of " + std::to_string(piece),
          Joined(lines), Joined(split));
    }
  }
  return 0;
}
