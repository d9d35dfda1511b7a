#ifndef LAUNCHER_PROBES_REGISTRY_VALUE_H_
#define LAUNCHER_PROBES_REGISTRY_VALUE_H_

#include <cstdint>
#include <string>

#include "platform/host.h"

namespace checker {

// A value read from the registry: a text or a signed 32-bit number. Nothing
// found is the empty text; a number, whatever it is, never counts as empty.
class RegistryValue {
 public:
  RegistryValue() = default;
  explicit RegistryValue(std::string text) : text_(std::move(text)) {}
  explicit RegistryValue(std::int32_t number) : is_number_(true), number_(number) {}

  bool IsNumber() const { return is_number_; }
  bool IsEmptyText() const;
  // The text itself, or the number in plain decimal.
  std::string Text() const;

  bool operator==(const RegistryValue&) const = default;

 private:
  bool is_number_ = false;
  std::int32_t number_ = 0;  // when it is a number
  std::string text_;         // when it is not
};

// Reads the value `value_name` under `root`\`key_path`: REG_SZ as text up to
// its first NUL, REG_DWORD as a number, anything else (a missing key or
// value, another type, a registry error) as the empty text. A failure
// (error::kArithmeticOverflow) for a text whose first NUL lies beyond
// character 32,767, or a text of more than 1 MiB (the most a value holds
// in the standard registry format).
platform::Result<RegistryValue> ReadRegistryValue(platform::Host& host,
                                                  platform::RegistryKey root, const char* key_path,
                                                  const char* value_name);

// The status code of the last registry call made by ReadRegistryValue.
std::int32_t LastRegistryStatus();

}  // namespace checker

#endif  // LAUNCHER_PROBES_REGISTRY_VALUE_H_
