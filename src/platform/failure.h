#ifndef LAUNCHER_PLATFORM_FAILURE_H_
#define LAUNCHER_PLATFORM_FAILURE_H_

#include <cstdint>
#include <string>
#include <utility>

namespace platform {

// Error numbers carried by a Failure. Where Windows has a number for the
// condition, it is that number, so a report reads the same on every host.
namespace error {
inline constexpr std::int32_t kFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kInvalidData = 13;          // ERROR_INVALID_DATA
inline constexpr std::int32_t kBadPathName = 161;         // ERROR_BAD_PATHNAME
inline constexpr std::int32_t kArithmeticOverflow = 534;  // ERROR_ARITHMETIC_OVERFLOW
inline constexpr std::int32_t kNotEnoughMemory = 8;       // ERROR_NOT_ENOUGH_MEMORY
inline constexpr std::int32_t kInvalidParameter = 87;     // ERROR_INVALID_PARAMETER
inline constexpr std::int32_t kFilenameTooLong = 206;     // ERROR_FILENAME_EXCED_RANGE
inline constexpr std::int32_t kClassNotFound =
    static_cast<std::int32_t>(0x800401F3);    // CO_E_CLASSSTRING
inline constexpr std::int32_t kGeneric = 31;  // ERROR_GEN_FAILURE
inline constexpr std::int32_t kCancelled = 1223;  // ERROR_CANCELLED: the user said no
}  // namespace error

// The one failure type: an error number and what failed. Operations that
// can fail give it back to their caller inside a Status or a Result
// (result.h); a guard is the place that turns it into something else.
class Failure {
 public:
  // [[nodiscard]]: a Failure made and dropped is a "return" forgotten. Out
  // of line, so that each of the many places that make one stays a call.
  [[nodiscard]] Failure(std::int32_t number, std::string description);
  [[nodiscard]] Failure(std::int32_t number, const char* description);

  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  std::int32_t number_;
  std::string description_;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_FAILURE_H_
