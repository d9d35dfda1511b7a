#include "platform/number_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/failure.h"
#include "platform/join.h"

// Integer code only: the Windows build has no floating point at all.

namespace platform {
namespace {

// 2^1024 - 2^970, halfway between the largest double and 2^1024. Rounding to
// nearest even takes a decimal number to infinity from here up.
constexpr char kInfinityFrom[] =
    "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977"
    "587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845"
    "817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559"
    "699508093042880177904174497792";
constexpr std::int64_t kInfinityDigits = sizeof kInfinityFrom - 1;
static_assert(kInfinityDigits == 309);

// Decimal exponents saturate here: beyond the digit count of any text that
// fits in memory, so the verdict is the same, and ten times it still fits.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 59;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::int64_t Clamped(std::size_t count) {
  return static_cast<std::uint64_t>(count) < static_cast<std::uint64_t>(kExponentLimit)
             ? static_cast<std::int64_t>(count)
             : kExponentLimit;
}

// Whether `digits` (the significant ones, perhaps with the point among
// them), read as 0.d1d2... x 10^309, is at least kInfinityFrom.
bool ReachesInfinity(std::string_view digits) {
  std::size_t i = 0;
  for (std::int64_t k = 0; k < kInfinityDigits; ++k) {
    if (i < digits.size() && digits[i] == '.') ++i;
    const char digit = i < digits.size() ? digits[i++] : '0';
    if (digit != kInfinityFrom[k]) return digit > kInfinityFrom[k];
  }
  return true;
}

Status NotNumeric(std::string_view text) {
  return Failure(error::kInvalidData, Join({"not a number: \"", text, "\""}));
}

}  // namespace

Status CheckNumberText(std::string_view text) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t mantissa = i;
  while (i < n && IsDigit(text[i])) ++i;
  const std::size_t point = i;
  bool has_digits = point != mantissa;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i;
    has_digits = has_digits || i != point + 1;
  }
  if (!has_digits) return NotNumeric(text);
  const std::size_t mantissa_end = i;
  std::int64_t exponent = 0;
  bool exponent_negative = false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
    const std::size_t exponent_digits = i;
    for (; i < n && IsDigit(text[i]); ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > kExponentLimit) exponent = kExponentLimit;
    }
    if (i == exponent_digits) return NotNumeric(text);
  }
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return NotNumeric(text);

  std::size_t first = mantissa;
  while (first < mantissa_end && (text[first] == '0' || text[first] == '.')) ++first;
  if (first == mantissa_end) return {};  // zero, whatever the exponent

  // The value is 0.d1d2... x 10^magnitude, d1 the first digit that is not 0:
  // below 10^308 it is finite, from 10^309 up it is not.
  std::int64_t magnitude = first < point ? Clamped(point - first) : -Clamped(first - point - 1);
  magnitude += exponent_negative ? -exponent : exponent;
  if (magnitude < kInfinityDigits) return {};
  if (magnitude == kInfinityDigits && !ReachesInfinity(std::string_view(text.data() + first, mantissa_end - first))) {
    return {};
  }
  return Failure(error::kArithmeticOverflow, Join({"number too large: \"", text, "\""}));
}

}  // namespace platform
