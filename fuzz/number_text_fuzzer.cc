// Text to number: platform::ParseNumber against a table-driven recogniser of
// the number grammar and an independent conversion (std::from_chars).
// Input: the text itself.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/number_text.h"

namespace {

// Character classes and the states of the recogniser: optional blanks, an
// optional sign, digits with at most one point (one digit at least), an
// optional exponent, optional blanks.
enum Class { kBlank, kSign, kDigit, kPoint, kExp, kOther, kClasses };
enum State { kStart, kSigned, kInt, kBarePoint, kFraction, kE, kESign, kEDigits, kTrail, kReject };

Class Classify(char c) {
  if (c == ' ' || c == '\t') return kBlank;
  if (c == '+' || c == '-') return kSign;
  if (c >= '0' && c <= '9') return kDigit;
  if (c == '.') return kPoint;
  if (c == 'e' || c == 'E') return kExp;
  return kOther;
}

// clang-format off
constexpr State kNext[kReject][kClasses] = {
    //               blank    sign     digit      point       exp      other
    /* Start     */ {kStart,  kSigned, kInt,      kBarePoint, kReject, kReject},
    /* Signed    */ {kReject, kReject, kInt,      kBarePoint, kReject, kReject},
    /* Int       */ {kTrail,  kReject, kInt,      kFraction,  kE,      kReject},
    /* BarePoint */ {kReject, kReject, kFraction, kReject,    kReject, kReject},
    /* Fraction  */ {kTrail,  kReject, kFraction, kReject,    kE,      kReject},
    /* E         */ {kReject, kESign,  kEDigits,  kReject,    kReject, kReject},
    /* ESign     */ {kReject, kReject, kEDigits,  kReject,    kReject, kReject},
    /* EDigits   */ {kTrail,  kReject, kEDigits,  kReject,    kReject, kReject},
    /* Trail     */ {kTrail,  kReject, kReject,   kReject,    kReject, kReject},
};
// clang-format on

bool Accepts(const std::string& text) {
  State state = kStart;
  for (char c : text) {
    state = kNext[state][Classify(c)];
    if (state == kReject) return false;
  }
  return state == kInt || state == kFraction || state == kEDigits || state == kTrail;
}

// The number without blanks and without a leading "+", which from_chars
// does not take.
std::string Core(const std::string& text, bool* negative) {
  std::string core;
  for (char c : text) {
    if (c != ' ' && c != '\t') core += c;
  }
  *negative = !core.empty() && core[0] == '-';
  if (!core.empty() && (core[0] == '+' || core[0] == '-')) core.erase(0, 1);
  return core;
}

// Roughly log10 of the value: the power of ten just above its leading
// digit. Only its sign matters, to tell overflow from underflow.
long long Magnitude(const std::string& core) {
  long long before_point = 0;
  long long first_nonzero = -1;
  long long digits = 0;
  bool point = false;
  size_t i = 0;
  for (; i < core.size() && core[i] != 'e' && core[i] != 'E'; ++i) {
    if (core[i] == '.') {
      point = true;
      continue;
    }
    if (first_nonzero < 0 && core[i] != '0') first_nonzero = digits;
    ++digits;
    if (!point) ++before_point;
  }
  long long exponent = 0;
  bool exponent_negative = false;
  if (i < core.size()) {
    ++i;
    if (i < core.size() && (core[i] == '+' || core[i] == '-')) exponent_negative = core[i++] == '-';
    for (; i < core.size(); ++i) exponent = std::min(exponent * 10 + (core[i] - '0'), 1000000000LL);
  }
  if (first_nonzero < 0) return 0;
  return before_point - first_nonzero + (exponent_negative ? -exponent : exponent);
}

std::string Show(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool failed = false;
  std::int32_t number = 0;
  double value = 0;
  try {
    value = platform::ParseNumber(text);
  } catch (const platform::Failure& failure) {
    failed = true;
    number = failure.number();
  }

  const std::string what = "ParseNumber(" + fuzz::Printable(text) + ")";
  if (!Accepts(text)) {
    if (!failed || number != platform::error::kInvalidData) {
      fuzz::Mismatch(what, "not numeric",
                     failed ? "failure " + std::to_string(number) : Show(value));
    }
    return 0;
  }

  bool negative = false;
  const std::string core = Core(text, &negative);
  double expected = 0;
  const auto [end, error] =
      std::from_chars(core.data(), core.data() + core.size(), expected, std::chars_format::general);
  if (error == std::errc() && end == core.data() + core.size()) {
    if (negative) expected = -expected;
    if (failed || !SameDouble(value, expected)) {
      fuzz::Mismatch(what, Show(expected),
                     failed ? "failure " + std::to_string(number) : Show(value));
    }
  } else if (error == std::errc::result_out_of_range && Magnitude(core) > 0) {
    if (!failed || number != platform::error::kArithmeticOverflow) {
      fuzz::Mismatch(what, "overflow", failed ? "failure " + std::to_string(number) : Show(value));
    }
  } else if (error == std::errc::result_out_of_range) {
    // Too small for a double: zero or a subnormal of the right sign.
    if (failed || std::fabs(value) >= 2.2250738585072014e-308 || std::signbit(value) != negative) {
      fuzz::Mismatch(what, "a tiny number",
                     failed ? "failure " + std::to_string(number) : Show(value));
    }
  } else {
    fuzz::Mismatch(what + ", the model's own conversion", "a number", fuzz::Printable(core));
  }
  return 0;
}
