#include "probes/host_os_label.h"

#include <cstdint>
#include <limits>

#include "status/frm_main.h"

namespace checker {
namespace {

std::int16_t NarrowTo16(std::uint32_t number) {
  const auto value = static_cast<std::int32_t>(number);
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw platform::Failure(platform::error::kArithmeticOverflow,
                            "overflow: version number " + std::to_string(value));
  }
  return static_cast<std::int16_t>(value);
}

std::string Decimal(std::uint32_t number) {
  return std::to_string(static_cast<std::int32_t>(number));
}

}  // namespace

std::string GetHostOsLabel(platform::Host& host) {
  std::string label = "default";
  try {
    platform::VersionRecord version;
    version.size = sizeof(version);
    host.ReadVersion(&version);  // a failed call leaves every number at 0

    status::SetLabel(host, "Label2", Decimal(version.build));
    status::SetLabel(host, "Label3", Decimal(version.major));
    status::SetLabel(host, "Label4", Decimal(version.minor));
    status::SetLabel(host, "Label5", Decimal(version.platform_id));

    const std::int16_t major = NarrowTo16(version.major);
    const std::int16_t minor = NarrowTo16(version.minor);
    // Windows 95 (4.0) is labelled winnt too: the winnt row covers it.
    if (major == 4 && minor >= 1 && minor <= 89) {
      label = "win98";
    } else if (major == 4 && minor >= 90) {
      label = "winme";
    } else if (major <= 4 && minor == 0) {
      label = "winnt";
    } else if (major == 5 && minor == 0) {
      label = "win2k";
    } else if (major == 5 && minor >= 1) {
      label = "winxp";
    } else if (major == 6 && minor == 0) {
      label = "winvista";
    }
  } catch (const platform::Failure&) {
    return "default";
  }
  return label;
}

}  // namespace checker
