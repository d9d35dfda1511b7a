#ifndef LAUNCHER_BENCH_PLAIN_LOOKUP_H_
#define LAUNCHER_BENCH_PLAIN_LOOKUP_H_

#include <string>

namespace bench {

// The launch.ini lookup written the plain way, as the floor to beat: read
// each line into a string with std::getline, lower-case a copy, compare.
// Gives what checker::ReadLaunchEntry gives for the same file, section and
// key (empty when the file cannot be opened).
std::string PlainLookup(const std::string& path, const std::string& section,
                        const std::string& key);

}  // namespace bench

#endif  // LAUNCHER_BENCH_PLAIN_LOOKUP_H_
