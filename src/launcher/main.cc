#include "launcher/main.h"

#include "config/launch_entry.h"
#include "launcher/command_line.h"
#include "launcher/launch_selection.h"
#include "launcher/observer.h"

namespace checker {

void Main(platform::Host& host) { Main(host, nullptr); }

void Main(platform::Host& host, Observer* observer) {
  std::string separator;
  try {
    const std::string directory = host.OwnDirectory();
    // At a drive root ("D:\") the directory already ends with the separator;
    // a directory whose name ends in a double-byte character with "\" as its
    // second byte does not.
    if (!platform::EndsWithCharacter(directory, '\\', host.SystemLeadBytes())) {
      separator.push_back('\\');
    }
    const std::string value = SelectLaunch(host, directory + separator + kConfigFileName, observer);
    StartLaunchValue(host, directory + separator, value, observer);
  } catch (const platform::Failure& failure) {
    if (observer != nullptr) {
      observer->MainPathFailed(failure);
      observer->PathTaken(LaunchPath::kFallback);
    }
    // The fallback launch has no guard: its failure is the host's to report.
    const std::string directory = host.OwnDirectory();
    const std::string value = ReadLaunchEntry(host, directory + separator + kConfigFileName,
                                              "defaultLaunchFiles", "default");
    if (observer != nullptr) observer->LookupMade("defaultLaunchFiles", "default", value);
    StartLaunchValue(host, directory + separator, value, observer);
  }
  host.EndProgram();
}

}  // namespace checker
