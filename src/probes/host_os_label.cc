#include "probes/host_os_label.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "platform/join.h"
#include "status/frm_main.h"

namespace checker {
namespace {

platform::Result<std::int16_t> NarrowTo16(std::uint32_t number) {
  const auto value = static_cast<std::int32_t>(number);
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    return platform::Failure(platform::error::kArithmeticOverflow,
                             platform::Join({"overflow: version number ", platform::Decimal(value)}));
  }
  return static_cast<std::int16_t>(value);
}

std::string Decimal(std::uint32_t number) {
  return platform::Decimal(static_cast<std::int32_t>(number));
}

// The label, or the failure that stopped it.
platform::Result<std::string> ClassifyHostOs(platform::Host& host) {
  platform::VersionRecord version;
  version.size = sizeof(version);
  host.ReadVersion(&version);  // a failed call leaves every number at 0

  const std::pair<const char*, std::uint32_t> shown[] = {{"Label2", version.build},
                                                         {"Label3", version.major},
                                                         {"Label4", version.minor},
                                                         {"Label5", version.platform_id}};
  for (const auto& [control, number] : shown) {
    if (platform::Status written = status::SetLabel(host, control, Decimal(number));
        !written.ok()) {
      return written.TakeFailure();
    }
  }

  platform::Result<std::int16_t> major = NarrowTo16(version.major);
  if (!major.ok()) return major.TakeFailure();
  platform::Result<std::int16_t> minor = NarrowTo16(version.minor);
  if (!minor.ok()) return minor.TakeFailure();
  // Windows 95 (4.0) is labelled winnt too: the winnt row covers it.
  if (*major == 4 && *minor >= 1 && *minor <= 89) return "win98";
  if (*major == 4 && *minor >= 90) return "winme";
  if (*major <= 4 && *minor == 0) return "winnt";
  if (*major == 5 && *minor == 0) return "win2k";
  if (*major == 5 && *minor >= 1) return "winxp";
  if (*major == 6 && *minor == 0) return "winvista";
  return "default";
}

}  // namespace

std::string GetHostOsLabel(platform::Host& host) {
  platform::Result<std::string> label = ClassifyHostOs(host);
  if (!label.ok()) {
    // Guard: any failure gives the neutral label.
    return "default";
  }
  return *std::move(label);
}

}  // namespace checker
