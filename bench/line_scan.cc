#include "bench/line_scan.h"

#include <cstring>

namespace bench {

size_t CountBracketLines(std::string_view bytes) {
  size_t count = 0;
  const char* line = bytes.data();
  const char* const end = line + bytes.size();
  while (line < end) {
    const void* found = std::memchr(line, '\r', static_cast<size_t>(end - line));
    const char* line_end = found != nullptr ? static_cast<const char*>(found) : end;
    if (std::memchr(line, '[', static_cast<size_t>(line_end - line)) != nullptr) ++count;
    line = line_end + 1;
    if (line < end && *line == '\n') ++line;
  }
  return count;
}

}  // namespace bench
