#ifndef LAUNCHER_PLATFORM_START_LIMITS_H_
#define LAUNCHER_PLATFORM_START_LIMITS_H_

#include <cstddef>

namespace platform {

// The lengths CreateProcessA accepts, each counting the terminating NUL, as
// Microsoft documents them: MAX_PATH for the program's path (the ANSI file
// functions take no longer one, on every Windows), and 32,767 characters for
// the command line (documented for Windows NT and later; nothing is
// documented for Windows 95/98/ME, which are assumed to be the same).
// Measured under Wine: the longest path and command line that start are 259
// and 32,766 characters.
inline constexpr std::size_t kMaxPath = 260;
inline constexpr std::size_t kMaxCommandLine = 32767;

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_START_LIMITS_H_
