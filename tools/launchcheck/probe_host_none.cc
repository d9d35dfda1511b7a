#include "probe_host.h"

namespace launchcheck {

// Only Windows has a registry and a word processor to probe.
ProbeHostFactory ThisMachine() { return {}; }

}  // namespace launchcheck
