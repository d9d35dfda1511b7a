#ifndef LAUNCHER_TESTS_E2E_LAUNCHER_RUN_H_
#define LAUNCHER_TESTS_E2E_LAUNCHER_RUN_H_

#include <string>
#include <vector>

namespace e2e {

// What one run of launcher.exe did, as seen from outside.
struct LauncherRun {
  bool finished = false;                     // false: killed after the time-out
  unsigned long exit_code = 0;               // valid when finished
  unsigned long launcher_ms = 0;             // until the launcher itself ended
  unsigned long processes = 0;               // launcher and everything it started
  std::vector<std::string> message_boxes;    // "caption|text" of each one answered
  std::vector<std::string> visible_windows;  // other visible top-level windows
};

// Starts `program` with the command line `"program"`, in `working_directory`,
// inside a job so that whatever it starts is counted and waited for. Message
// boxes (dialog class "#32770") of the launcher are recorded and answered with
// OK; every other visible top-level window of the job's processes is
// recorded. Waits until every process of the job has ended, at most
// `timeout_ms` (a guard against a hung run, not a measurement); with
// `leftover_ms`, once the launcher has ended, what is left of the job gets
// that long before it is ended (a test server the launcher gave up on).
LauncherRun RunLauncher(const std::string& program, const std::string& working_directory,
                        unsigned long timeout_ms, unsigned long leftover_ms = 0);

}  // namespace e2e

#endif  // LAUNCHER_TESTS_E2E_LAUNCHER_RUN_H_
