#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_OPTIONS_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_OPTIONS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace launchcheck {

// One simulated machine, as far as the launcher's probes can tell.
struct HostChoice {
  // Major, minor, build and platform, as the version call reports them.
  std::optional<std::array<std::uint32_t, 4>> os;
  // The registry's Office version: a number or a text; none: missing.
  std::optional<std::variant<std::uint32_t, std::string>> office;
  // The version the word processor reports; none: it cannot be created.
  std::optional<std::string> word;

  bool Any() const { return os || office || word; }
};

struct Options {
  bool help = false;
  bool version = false;
  bool explain = false;
  bool probe = false;
  HostChoice host;
  std::string dir = ".";                   // where launch.ini lies, natively
  std::optional<std::string> install_dir;  // as the launcher sees it
  bool json = false;                       // --format json
  bool strict = false;                     // findings make the exit status 1
  std::optional<std::string> fix_output;   // where --fix writes the corrected copy
  bool force = false;                      // --fix may replace fix_output
  int code_page = 1252;                    // the system code page assumed
};

// A command line that cannot be understood; its text says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. Options may come before and
// after DIR, "--" ends them, "--name=value" is "--name value". Raises
// UsageError for an unknown option, a missing or malformed value (a code
// page that is not supported among them), a second DIR, or options that do
// not go together.
Options ParseOptions(const std::vector<std::string>& args);

// What --help prints.
std::string UsageText();

// What --version prints: the name and the version users see, as in "1.00".
std::string VersionText();

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_OPTIONS_H_
