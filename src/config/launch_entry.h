#ifndef LAUNCHER_CONFIG_LAUNCH_ENTRY_H_
#define LAUNCHER_CONFIG_LAUNCH_ENTRY_H_

#include <string>
#include <string_view>

#include "platform/host.h"

namespace checker {

// The name of the configuration file beside the launcher.
inline constexpr char kConfigFileName[] = "launch.ini";

// Gives the value of the first entry line "key=value" in a section named
// `section` of `file` (names and keys compared without regard to case), or
// the empty text when there is none or the file cannot be read. A line with
// a "[" anywhere closes the current section and is never an entry; in a
// double-byte code page the second byte of a character is no "[". Never
// fails.
std::string ReadLaunchEntry(platform::Host& host, const std::string& file,
                            std::string_view section, std::string_view key);

}  // namespace checker

#endif  // LAUNCHER_CONFIG_LAUNCH_ENTRY_H_
