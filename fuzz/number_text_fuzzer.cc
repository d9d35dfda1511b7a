// Text to number: platform::CheckNumberText against a table-driven
// recogniser of the number grammar and, for what it accepts, glibc's
// correctly rounded strtod: infinity there is an overflow, anything else
// (a tiny number included) a number. Input: the text itself.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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

bool Accepts(std::string_view text) {
  State state = kStart;
  for (char c : text) {
    state = kNext[state][Classify(c)];
    if (state == kReject) return false;
  }
  return state == kInt || state == kFraction || state == kEDigits || state == kTrail;
}

// What strtod says of an accepted text: 0 for a number, else the failure
// number it calls for.
std::int32_t StrtodVerdict(std::string_view text, const std::string& what) {
  std::string core;
  for (char c : text) {
    if (c != ' ' && c != '\t') core += c;
  }
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(core.c_str(), &end);
  if (end != core.c_str() + core.size()) {
    fuzz::Mismatch(what + ", strtod itself", "reads all of " + fuzz::Printable(core),
                   "stops after " + std::to_string(end - core.c_str()) + " characters");
  }
  return errno == ERANGE && std::fabs(value) == HUGE_VAL ? platform::error::kArithmeticOverflow : 0;
}

std::string Shown(std::int32_t verdict) {
  return verdict == 0 ? "a number" : "failure " + std::to_string(verdict);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const platform::Status status = platform::CheckNumberText(text);
  const std::string what = "CheckNumberText(" + fuzz::Printable(text) + ")";
  const std::int32_t expected =
      Accepts(text) ? StrtodVerdict(text, what) : platform::error::kInvalidData;
  const std::int32_t actual = status.ok() ? 0 : status.failure().number();
  if (actual != expected) fuzz::Mismatch(what, Shown(expected), Shown(actual));
  if (!status.ok()) {
    const std::string prefix =
        actual == platform::error::kInvalidData ? "not a number: \"" : "number too large: \"";
    if (status.failure().description() != prefix + std::string(text) + "\"") {
      fuzz::Mismatch(what + ", its description", prefix + "...\"",
                     fuzz::Printable(status.failure().description()));
    }
  }
  return 0;
}
