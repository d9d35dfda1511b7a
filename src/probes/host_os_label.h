#ifndef LAUNCHER_PROBES_HOST_OS_LABEL_H_
#define LAUNCHER_PROBES_HOST_OS_LABEL_H_

#include <string>

#include "platform/host.h"

namespace checker {

// Names the host's Windows family: "win98", "winme", "winnt", "win2k",
// "winxp", "winvista", or "default" for anything else. Writes the build,
// major, minor and platform numbers to Label2 to Label5 of the status form
// on the way. Never fails: any failure gives "default".
std::string GetHostOsLabel(platform::Host& host);

}  // namespace checker

#endif  // LAUNCHER_PROBES_HOST_OS_LABEL_H_
