#include "launcher/main.h"

#include "config/launch_entry.h"
#include "launcher/command_line.h"
#include "launcher/launch_selection.h"
#include "launcher/observer.h"

namespace checker {
namespace {

using platform::Result;
using platform::Status;

// The main path. The separator goes out through `separator` as soon as it
// is known: the fallback launch reuses whatever was set before a failure.
Status StartSelectedEntry(platform::Host& host, std::string* separator, Observer* observer) {
  Result<std::string> directory = host.OwnDirectory();
  if (!directory.ok()) return directory.TakeFailure();
  // At a drive root ("D:\") the directory already ends with the separator;
  // a directory whose name ends in a double-byte character with "\" as its
  // second byte does not.
  if (!platform::EndsWithCharacter(*directory, '\\', host.SystemLeadBytes())) {
    separator->push_back('\\');
  }
  Result<std::string> value =
      SelectLaunch(host, *directory + *separator + kConfigFileName, observer);
  if (!value.ok()) return value.TakeFailure();
  return StartLaunchValue(host, *directory + *separator, *value, observer);
}

// The fallback launch: the default entry, with no guard of its own.
Status StartDefaultEntry(platform::Host& host, const std::string& separator, Observer* observer) {
  Result<std::string> directory = host.OwnDirectory();
  if (!directory.ok()) return directory.TakeFailure();
  const std::string value = ReadLaunchEntry(host, *directory + separator + kConfigFileName,
                                            "defaultLaunchFiles", "default");
  if (observer != nullptr) observer->LookupMade("defaultLaunchFiles", "default", value);
  return StartLaunchValue(host, *directory + separator, value, observer);
}

}  // namespace

Status Main(platform::Host& host) { return Main(host, nullptr); }

Status Main(platform::Host& host, Observer* observer) {
  std::string separator;
  Status main_path = StartSelectedEntry(host, &separator, observer);
  if (!main_path.ok()) {
    // Guard: whatever failed on the main path, the default entry is started.
    if (observer != nullptr) {
      observer->MainPathFailed(main_path.failure());
      observer->PathTaken(LaunchPath::kFallback);
    }
    Status fallback = StartDefaultEntry(host, separator, observer);
    if (!fallback.ok() && fallback.failure().number() == platform::error::kCancelled) {
      // Guard: the user said no to the default entry too. An answer is not
      // an error: the launcher ends without a report.
      return {};
    }
    return fallback;
  }
  return {};
}

}  // namespace checker
