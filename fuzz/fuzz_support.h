#ifndef LAUNCHER_FUZZ_FUZZ_SUPPORT_H_
#define LAUNCHER_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Splits an input whose first byte is the separator: "|a|b|rest" gives "a",
// "b" and "rest" for three fields. The last field takes everything left,
// separators included; missing fields are empty. Any byte but the one
// chosen can appear in a field, and the fuzzer chooses it anew each time.
inline std::vector<std::string> SplitFields(const std::uint8_t* data, size_t size, size_t fields) {
  std::vector<std::string> out(fields);
  if (size == 0 || fields == 0) return out;
  const char separator = static_cast<char>(data[0]);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t begin = 0;
  for (size_t field = 0; field < fields; ++field) {
    if (begin > rest.size()) break;
    const size_t end = field + 1 == fields ? std::string_view::npos : rest.find(separator, begin);
    if (end == std::string_view::npos) {
      out[field] = std::string(rest.substr(begin));
      break;
    }
    out[field] = std::string(rest.substr(begin, end - begin));
    begin = end + 1;
  }
  return out;
}

// Text with every byte outside printable ASCII escaped, for a report.
inline std::string Printable(std::string_view text, size_t limit = 200) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    }
  }
  if (text.size() > limit) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out + "\"";
}

// Reports a difference between the product and its model and stops, so
// that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Mismatch(const std::string& what, const std::string& expected,
                                  const std::string& actual) {
  std::fprintf(stderr, "MISMATCH in %s\n  model:   %s\n  product: %s\n", what.c_str(),
               expected.c_str(), actual.c_str());
  std::abort();
}

}  // namespace fuzz

#endif  // LAUNCHER_FUZZ_FUZZ_SUPPORT_H_
