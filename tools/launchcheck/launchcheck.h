#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_LAUNCHCHECK_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_LAUNCHCHECK_H_

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/host.h"

namespace launchcheck {

// Makes the host whose probes --probe uses; empty where there is none.
using ProbeHostFactory = std::function<std::unique_ptr<platform::Host>()>;

// The whole tool: `args` are the arguments after the program's name. Gives
// the exit status: 0, 1 (the error report, or no usable default entry), or
// 2 (a usage error).
int Launchcheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const ProbeHostFactory& probe_host);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_LAUNCHCHECK_H_
