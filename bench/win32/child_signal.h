#ifndef LAUNCHER_BENCH_WIN32_CHILD_SIGNAL_H_
#define LAUNCHER_BENCH_WIN32_CHILD_SIGNAL_H_

namespace bench {

// The event that bench_child.exe sets as soon as it runs: the moment the
// start-up benchmark measures to.
inline constexpr char kChildStartedEvent[] = "launcher-bench-child-started";

// The program every measured starter starts, beside itself.
inline constexpr char kChildProgram[] = "bench_child.exe";

}  // namespace bench

#endif  // LAUNCHER_BENCH_WIN32_CHILD_SIGNAL_H_
