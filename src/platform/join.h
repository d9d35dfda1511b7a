#ifndef LAUNCHER_PLATFORM_JOIN_H_
#define LAUNCHER_PLATFORM_JOIN_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// `parts`, one after the other. One call where a chain of "+" would expand
// into code at every use: most of the launcher's texts are descriptions of
// failures, built this way, and launcher.exe has little room.
std::string Join(std::initializer_list<std::string_view> parts);

// `number` in plain decimal, as std::to_string gives it, in one function
// for every kind of integer the launcher shows.
std::string Decimal(std::int32_t number);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_JOIN_H_
