// launch.ini lookup: arbitrary file bytes, section and key, against a plain
// model of the format, in a single-byte code page and in code page 932, read
// whole and in pieces of one and of three bytes.
// Input: a separator byte, then section, key and the file's bytes split by
// it ("|winxpLaunchFiles|11|[winxpLaunchFiles]\r...").
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

// The characters of `text`, each lower-cased when it is one byte A-Z. In
// code page 932 a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it
// are one character, which has no case.
std::vector<std::string> Characters(std::string_view text, bool code_page_932) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    if (code_page_932 && lead && i + 1 < text.size()) {
      characters.emplace_back(text.substr(i, 2));
      ++i;
    } else {
      characters.emplace_back(1,
                              byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : text[i]);
    }
  }
  return characters;
}

std::string ModelLookup(const std::string& file, const std::string& section, const std::string& key,
                        bool code_page_932) {
  const auto header = Characters("[" + section + "]", code_page_932);
  const auto entry = Characters(key + "=", code_page_932);
  bool in_section = false;
  for (const std::string& line : ModelLines(file)) {
    const auto characters = Characters(line, code_page_932);
    const bool has_bracket =
        std::find(characters.begin(), characters.end(), "[") != characters.end();
    if (has_bracket) in_section = characters == header;
    if (has_bracket || !in_section) continue;
    if (characters.size() >= entry.size() &&
        std::equal(entry.begin(), entry.end(), characters.begin())) {
      return line.substr(key.size() + 1);
    }
  }
  return "";
}

// The shared splitter fed in small pieces, so that a CR at the end of one
// read and its LF at the start of the next are exercised too.
std::vector<std::string> SplitterLines(const std::string& file, size_t chunk, size_t piece) {
  size_t position = 0;
  platform::LineReader reader(
      [&](char* buffer, size_t size) -> platform::Result<size_t> {
        const size_t count = std::min({size, piece, file.size() - position});
        std::copy_n(file.data() + position, count, buffer);
        position += count;
        return count;
      },
      chunk);
  std::vector<std::string> lines;
  while (!*reader.AtEnd()) lines.emplace_back(*reader.ReadLine());
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

  // Reads of any size, so that a line, a CR LF or a double-byte character
  // may be split between two of them.
  for (const bool code_page_932 : {false, true}) {
    const std::string expected = ModelLookup(file, section, key, code_page_932);
    for (const size_t read_limit : {0, 1, 3}) {
      platform::SimulatedHost host;
      if (code_page_932) host.UseCodePage932();
      host.LimitReads(read_limit);
      host.AddFile(kIni, file);
      const std::string actual = checker::ReadLaunchEntry(host, kIni, section, key);
      if (actual != expected) {
        fuzz::Mismatch(std::string(code_page_932 ? "code page 932: " : "") + "reads of " +
                           std::to_string(read_limit) + ": ReadLaunchEntry [" +
                           fuzz::Printable(section) + "] " + fuzz::Printable(key),
                       fuzz::Printable(expected), fuzz::Printable(actual));
      }
      if (host.open_files() != 0) fuzz::Mismatch("open files after lookup", "0", "open");
    }
  }

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
