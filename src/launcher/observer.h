#ifndef LAUNCHER_LAUNCHER_OBSERVER_H_
#define LAUNCHER_LAUNCHER_OBSERVER_H_

#include <string>

#include "launcher/command_line.h"
#include "platform/failure.h"

namespace checker {

// Which way the launcher came to its launch value.
enum class LaunchPath {
  kPrimary,   // the entry for the host label and the Office version
  kDefault,   // that gave nothing: the default entry, inside the guard
  kFallback,  // the main path failed: the default entry, without a guard
};

// Sees the launcher's decisions as they are made, for tools that explain a
// run. Every method does nothing unless overridden; the launcher itself runs
// with no observer at all.
class Observer {
 public:
  Observer() = default;
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;
  virtual ~Observer() = default;

  // A lookup of `key` in `section` gave `value` (empty: nothing found).
  virtual void LookupMade(std::string_view /*section*/, std::string_view /*key*/,
                          const std::string& /*value*/) {}

  // The main path failed with `failure`; the fallback launch follows.
  virtual void MainPathFailed(const platform::Failure& /*failure*/) {}

  virtual void PathTaken(LaunchPath /*path*/) {}

  // `command_line` (install directory + separator + launch value, as joined)
  // names `resolved`, which is started next.
  virtual void CommandResolved(const std::string& /*command_line*/,
                               const ResolvedCommand& /*resolved*/) {}
};

}  // namespace checker

#endif  // LAUNCHER_LAUNCHER_OBSERVER_H_
