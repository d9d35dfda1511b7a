#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_SIMULATED_RUN_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_SIMULATED_RUN_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "options.h"
#include "platform/failure.h"
#include "platform/simulated/simulated_host.h"

namespace launchcheck {

// What one run of the launcher did.
struct Outcome {
  int exit_status = 0;
  // The command line as the launcher joined it (install directory +
  // separator + launch value), when it started a program.
  std::optional<std::string> command_line;
  std::optional<platform::Failure> error_report;
  std::string path;                // "primary", "default" or "fallback"
  std::vector<std::string> steps;  // each decision, one line each, in order
};

// A value the launcher detected, as its status form shows it.
struct DetectedValue {
  const char* what;
  const char* control;
  std::string caption;   // as the form shows it
  bool written = false;  // false: the run failed before it got this far
};

// A simulated host whose install directory `install_dir` holds the files
// of `native_dir`, and whose probes answer as `choice` says.
void SetUpHost(platform::SimulatedHost& host, const HostChoice& choice,
               const std::string& install_dir, const std::filesystem::path& native_dir);

// Runs the launcher's Main on `host` to its end.
Outcome RunLauncher(platform::SimulatedHost& host);

// Label1 to Label6 of the status form after a run.
std::vector<DetectedValue> DetectedValues(const platform::SimulatedHost& host);

// "error N: description".
std::string DescribeFailure(const platform::Failure& failure);

// `text` with each control character written as an escape ("\n", "\x01"),
// so that it stays on one line; `hex` comes between the backslash and the
// two hex digits ("u00" for JSON).
std::string Escaped(const std::string& text, const std::string& hex = "x");

// `text` escaped and in double quotes, so that blanks at either end show.
std::string Quoted(const std::string& text);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_SIMULATED_RUN_H_
