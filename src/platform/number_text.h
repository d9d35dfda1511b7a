#ifndef LAUNCHER_PLATFORM_NUMBER_TEXT_H_
#define LAUNCHER_PLATFORM_NUMBER_TEXT_H_

#include <string>

namespace platform {

// Reads `text` as a number, the way a user writes one: optional blanks, an
// optional sign, digits with at most one decimal point (at least one digit
// in all), an optional exponent ("e" or "E", optional sign, digits), optional
// blanks. Anything else, the empty text included, raises Failure
// (error::kInvalidData); a number too large for a double raises
// error::kArithmeticOverflow.
double ParseNumber(const std::string& text);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_NUMBER_TEXT_H_
