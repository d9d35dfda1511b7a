#include "platform/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/failure.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

Failure NotNumeric(std::string_view text) {
  return Failure(error::kInvalidData, "not a number: \"" + std::string(text) + "\"");
}

}  // namespace

Status CheckNumberText(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  const size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return NotNumeric(text);
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return NotNumeric(text);
  }
  const size_t end = i;
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return NotNumeric(text);

  // The grammar above is a subset of strtod's, and the program never changes
  // the C locale, so strtod reads exactly the validated characters.
  const std::string number(text.substr(start, end - start));
  errno = 0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) {
    return Failure(error::kArithmeticOverflow, "number too large: \"" + std::string(text) + "\"");
  }
  return {};
}

}  // namespace platform
