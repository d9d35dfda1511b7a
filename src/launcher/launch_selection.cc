#include "launcher/launch_selection.h"

#include "config/launch_entry.h"
#include "launcher/observer.h"
#include "platform/join.h"
#include "probes/host_os_label.h"
#include "probes/registry_value.h"
#include "status/frm_main.h"

namespace checker {
namespace {

using platform::Result;
using platform::Status;

// The version the word processor reports, cut to its major version. The
// word processor is told to quit, and let go of, as soon as it has answered.
Result<std::string> AskWordProcessor(platform::Host& host) {
  Result<platform::AutomationObject*> word = host.CreateAutomationObject(kWordClassName);
  if (!word.ok()) return word.TakeFailure();
  Result<std::string> version = (*word)->GetTextProperty("version");
  if (version.ok()) {
    // Guard: the version is read; a word processor that does not quit changes nothing.
    (*word)->CallMethod("quit", kDoNotSaveChanges).IgnoreFailure();
  }
  host.ReleaseAutomationObject(*word);
  if (!version.ok()) return version.TakeFailure();
  return WordMajorVersion(*version);
}

// The Office version as text: the registry's value, written to Label1, used
// whole; else the word processor's major version.
Result<std::string> OfficeVersion(platform::Host& host) {
  Result<RegistryValue> office =
      ReadRegistryValue(host, platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName);
  if (!office.ok()) return office.TakeFailure();
  std::string text = office->Text();
  if (Status written = status::SetLabel(host, "Label1", text); !written.ok()) {
    return written.TakeFailure();
  }
  if (!office->IsEmptyText()) return text;
  return AskWordProcessor(host);
}

}  // namespace

std::string WordMajorVersion(const std::string& version) {
  const std::string_view first_two(version.data(), version.size() < 2 ? version.size() : 2);
  const bool point = first_two.find('.') != std::string_view::npos;
  return std::string(first_two.data(), point ? 1 : first_two.size());
}

Result<std::string> SelectLaunch(platform::Host& host, const std::string& config_path,
                                 Observer* observer) {
  Result<std::string> office = OfficeVersion(host);
  if (!office.ok()) return office.TakeFailure();
  const std::string& version = *office;

  const std::string label = GetHostOsLabel(host);
  if (Status written = status::SetLabel(host, "Label6", label); !written.ok()) {
    return written.TakeFailure();
  }

  // Only a numeric version may be looked up.
  if (Status numeric = host.CheckNumber(version); !numeric.ok()) return numeric.TakeFailure();

  const std::string section = platform::Join({label, "LaunchFiles"});
  std::string value = ReadLaunchEntry(host, config_path, section, version);
  if (observer != nullptr) observer->LookupMade(section, version, value);
  if (!value.empty()) {
    if (observer != nullptr) observer->PathTaken(LaunchPath::kPrimary);
    return value;
  }
  value = ReadLaunchEntry(host, config_path, "defaultLaunchFiles", "default");
  if (observer != nullptr) {
    observer->LookupMade("defaultLaunchFiles", "default", value);
    observer->PathTaken(LaunchPath::kDefault);
  }
  return value;
}

}  // namespace checker
