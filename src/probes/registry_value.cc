#include "probes/registry_value.h"

#include <algorithm>
#include <limits>

#include "platform/join.h"

namespace checker {
namespace {

std::int32_t last_registry_status = 0;

constexpr std::uint32_t kLargestText = 1024 * 1024;

// The text of a REG_SZ value: up to its first NUL, and never past what the
// read returned, even when the value shrank after the size was probed.
platform::Result<std::string> TextUpToNul(const std::string& buffer, std::uint32_t size_read) {
  const size_t end = std::min<size_t>(buffer.size(), size_read);
  const size_t nul = buffer.find('\0');
  if (nul == std::string::npos || nul >= end) return std::string(buffer.data(), end);
  // The position of the NUL is held as a 16-bit count, as it always has been:
  // a longer text is an overflow, which the caller's guard handles.
  if (nul + 1 > static_cast<size_t>(std::numeric_limits<std::int16_t>::max())) {
    return platform::Failure(platform::error::kArithmeticOverflow,
                             "overflow: registry text longer than 32,767 characters");
  }
  return std::string(buffer.data(), nul);
}

}  // namespace

bool RegistryValue::IsEmptyText() const { return !is_number_ && text_.empty(); }

std::string RegistryValue::Text() const { return is_number_ ? platform::Decimal(number_) : text_; }

std::int32_t LastRegistryStatus() { return last_registry_status; }

platform::Result<RegistryValue> ReadRegistryValue(platform::Host& host,
                                                  platform::RegistryKey root, const char* key_path,
                                                  const char* value_name) {
  RegistryValue result;
  platform::RegistryKey key = 0;
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 0;

  last_registry_status = host.OpenRegistryKey(root, key_path, &key);
  if (key != 0) {
    // A missing value leaves the type at 0; the status itself is not needed.
    last_registry_status = host.QueryRegistryValue(key, value_name, &type, nullptr, &size);
    if (type == platform::kRegSz) {
      // The one allocation that follows the registry. Only an administrator
      // writes this value, and Windows keeps a value to 1 MB in its
      // standard registry format; anything longer is no version, whatever
      // it holds, and is not read.
      if (size > kLargestText) {
        return platform::Failure(
            platform::error::kArithmeticOverflow,
            platform::Join({"overflow: registry text of ", platform::Decimal(static_cast<std::int32_t>(size)), " bytes"}));
      }
      std::string buffer(size, ' ');
      std::uint32_t scratch_type = 0;
      last_registry_status = host.QueryRegistryValue(
          key, value_name, &scratch_type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
      if (last_registry_status == platform::kRegistrySuccess) {
        platform::Result<std::string> text = TextUpToNul(buffer, size);
        // The key stays open: a failure here is the caller's to handle.
        if (!text.ok()) return text.TakeFailure();
        result = RegistryValue(*std::move(text));
      }
    } else if (type == platform::kRegDword) {
      std::uint32_t number = 0;
      std::uint32_t number_size = sizeof(number);
      last_registry_status = host.QueryRegistryValue(
          key, value_name, &type, reinterpret_cast<std::uint8_t*>(&number), &number_size);
      if (last_registry_status == platform::kRegistrySuccess) {
        result = RegistryValue(static_cast<std::int32_t>(number));
      }
    }
  }
  last_registry_status = host.CloseRegistryKey(key);
  return result;
}

}  // namespace checker
