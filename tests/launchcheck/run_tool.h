#ifndef LAUNCHER_TESTS_LAUNCHCHECK_RUN_TOOL_H_
#define LAUNCHER_TESTS_LAUNCHCHECK_RUN_TOOL_H_

#include <sstream>
#include <string>
#include <vector>

#include "launchcheck.h"

namespace launchcheck::testing {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs launchcheck in-process with `args`, its output captured.
inline ToolRun RunTool(const std::vector<std::string>& args,
                       const ProbeHostFactory& probe_host = {}) {
  std::ostringstream out;
  std::ostringstream err;
  ToolRun run;
  run.status = Launchcheck(args, out, err, probe_host);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace launchcheck::testing

#endif  // LAUNCHER_TESTS_LAUNCHCHECK_RUN_TOOL_H_
