#include "launcher/main.h"

#include "config/launch_entry.h"
#include "launcher/command_line.h"
#include "launcher/launch_selection.h"

namespace checker {

void Main(platform::Host& host) {
  std::string separator;
  try {
    const std::string directory = host.OwnDirectory();
    // At a drive root ("D:\") the directory already ends with the separator.
    if (directory.empty() || directory.back() != '\\') separator.push_back('\\');
    const std::string value = SelectLaunch(host, directory + separator + kConfigFileName);
    StartLaunchValue(host, directory + separator, value);
  } catch (const platform::Failure&) {
    // The fallback launch has no guard: its failure is the host's to report.
    const std::string directory = host.OwnDirectory();
    const std::string value = ReadLaunchEntry(host, directory + separator + kConfigFileName,
                                              "defaultLaunchFiles", "default");
    StartLaunchValue(host, directory + separator, value);
  }
  host.EndProgram();
}

}  // namespace checker
