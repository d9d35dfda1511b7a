#ifndef LAUNCHER_PLATFORM_NUMBER_TEXT_H_
#define LAUNCHER_PLATFORM_NUMBER_TEXT_H_

#include <string_view>

#include "platform/result.h"

namespace platform {

// Whether `text` reads as a number, the way a user writes one: optional
// blanks (' ' or '\t'), an optional sign, digits with at most one decimal
// point (at least one digit in all), an optional exponent ("e" or "E",
// optional sign, at least one digit), optional blanks. Ok when it does;
// error::kInvalidData when not (the empty text included);
// error::kArithmeticOverflow when its magnitude is too large for a double
// (where strtod gives infinity).
Status CheckNumberText(std::string_view text);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_NUMBER_TEXT_H_
