#include "bench/plain_lookup.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace bench {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string PlainLookup(const std::string& path, const std::string& section,
                        const std::string& key) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "";
  const std::string header = "[" + Lower(section) + "]";
  const std::string prefix = Lower(key) + "=";
  bool in_section = false;
  bool after_carriage_return = false;
  std::string line;
  // Lines end at a carriage return; a line feed right after one belongs to
  // the terminator, any other line feed to the line.
  while (std::getline(in, line, '\r')) {
    if (after_carriage_return && !line.empty() && line.front() == '\n') line.erase(0, 1);
    after_carriage_return = !in.eof();
    const std::string lower = Lower(line);
    const bool has_bracket = lower.find('[') != std::string::npos;
    if (has_bracket) in_section = false;
    if (lower == header) in_section = true;
    if (has_bracket || !in_section) continue;
    if (lower.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
  }
  return "";
}

}  // namespace bench
