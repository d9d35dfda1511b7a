#include "launcher/launch_selection.h"

#include "config/launch_entry.h"
#include "launcher/observer.h"
#include "probes/host_os_label.h"
#include "probes/registry_value.h"
#include "status/frm_main.h"

namespace checker {

std::string WordMajorVersion(const std::string& version) {
  std::string major = version.substr(0, 2);
  if (major.find('.') != std::string::npos) major = major.substr(0, 1);
  return major;
}

std::string SelectLaunch(platform::Host& host, const std::string& config_path, Observer* observer) {
  RegistryValue office =
      ReadRegistryValue(host, platform::kHkeyLocalMachine, kOfficeKeyPath, kOfficeValueName);
  status::SetLabel(host, "Label1", office.Text());

  if (office.IsEmptyText()) {
    // The object stays with the host until the program ends.
    platform::AutomationObject& word = host.CreateAutomationObject(kWordClassName);
    office = RegistryValue(WordMajorVersion(word.GetTextProperty("version")));
    try {
      word.CallMethod("quit");
    } catch (const platform::Failure&) {
      // The version is read: a word processor that does not quit changes nothing.
    }
  }
  const std::string version = office.Text();

  const std::string label = GetHostOsLabel(host);
  status::SetLabel(host, "Label6", label);

  host.TextToNumber(version);  // only a numeric version may be looked up

  const std::string section = label + "LaunchFiles";
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
