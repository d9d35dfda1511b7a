#ifndef LAUNCHER_BENCH_LINE_SCAN_H_
#define LAUNCHER_BENCH_LINE_SCAN_H_

#include <cstddef>
#include <string_view>

namespace bench {

// The least any line-by-line lookup does, over bytes already in memory: find
// where each line ends (a carriage return; a line feed right after it is
// skipped) and whether it holds a "[". Gives the number of lines that do.
size_t CountBracketLines(std::string_view bytes);

}  // namespace bench

#endif  // LAUNCHER_BENCH_LINE_SCAN_H_
