#include "platform/join.h"

namespace platform {

std::string Join(std::initializer_list<std::string_view> parts) {
  size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string joined;
  joined.reserve(size);
  for (std::string_view part : parts) joined.append(part);
  return joined;
}

std::string Decimal(std::int32_t number) {
  char digits[12];
  char* end = digits + sizeof(digits);
  char* first = end;
  // Counted down as a negative number: the most negative one has no positive twin.
  std::int32_t rest = number < 0 ? number : -number;
  do {
    *--first = static_cast<char>('0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (number < 0) *--first = '-';
  return std::string(first, end);
}

}  // namespace platform
