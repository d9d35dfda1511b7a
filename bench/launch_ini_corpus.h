#ifndef LAUNCHER_BENCH_LAUNCH_INI_CORPUS_H_
#define LAUNCHER_BENCH_LAUNCH_INI_CORPUS_H_

#include <cstddef>
#include <string>

namespace bench {

// The entry every benchmark looks for.
inline constexpr char kSoughtSection[] = "winxpLaunchFiles";
inline constexpr char kSoughtKey[] = "11";
inline constexpr char kSoughtValue[] = "apps\\office2003\\setup.exe /q";

// Where the sought entry stands in a generated file.
enum class MatchPlace { kStart, kMiddle, kEnd, kAbsent };

const char* MatchPlaceName(MatchPlace place);

// A generated launch.ini and what is known about it.
struct Corpus {
  std::string bytes;
  // Bytes a lookup must read to find the entry: through the end of the
  // matching line, or the whole file when the entry is absent.
  size_t bytes_to_match = 0;
  // The longest line, without its terminator.
  size_t longest_line = 0;
};

// A file of exactly `size` bytes of CRLF lines as a disc author writes them:
// sections for every host label (and some that no host reads), entries for
// several Office versions with paths and switches, and the lines that look
// like the sought entry but never match it (key 11 in other sections, "110=",
// " 11=", "11 ="). The sought entry ([winxpLaunchFiles], key 11) stands at
// `place`; no other line of the file matches it. With `long_line` > 0 an
// ignored line of that many bytes comes first (after the entry when that
// stands at the start), to show what a long line costs. The same arguments
// give the same bytes. `size` must leave room for the entry, the long line
// and some filler (500 bytes); else raises std::invalid_argument.
Corpus MakeLaunchIni(size_t size, MatchPlace place, size_t long_line = 0);

}  // namespace bench

#endif  // LAUNCHER_BENCH_LAUNCH_INI_CORPUS_H_
