#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_INI_SYNTAX_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_INI_SYNTAX_H_

#include <string>
#include <string_view>

namespace launchcheck {

// The pieces of a launch.ini line as the launcher tells them apart, shared
// by the findings and the fixes.

// What every section that is read ends with, in lower case.
inline constexpr char kSectionSuffix[] = "launchfiles";

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without blanks at either end.
std::string Trim(std::string_view text);

// "[" name "]" with no other bracket.
bool IsBracketed(std::string_view text);

// A section the launcher reads: a host label + "LaunchFiles", in lower case.
bool IsReadSection(const std::string& lower_name);

// A key the launcher looks up: a number (an Office version) or "default",
// in lower case.
bool IsLookedUpKey(const std::string& lower_key);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_INI_SYNTAX_H_
