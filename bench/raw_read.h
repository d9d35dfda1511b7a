#ifndef LAUNCHER_BENCH_RAW_READ_H_
#define LAUNCHER_BENCH_RAW_READ_H_

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// The floor of any lookup: opens `path`, read()s it whole into `buffer`
// (chunk after chunk of buffer.size() bytes, looking at none of them) and
// closes it. Gives the number of bytes read; raises std::system_error when
// the file cannot be opened or read.
size_t RawRead(const std::string& path, std::vector<char>& buffer);

}  // namespace bench

#endif  // LAUNCHER_BENCH_RAW_READ_H_
