#include "bench/launch_ini_corpus.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace bench {
namespace {

constexpr std::string_view kSoughtHeader = "[winxpLaunchFiles]";
constexpr std::string_view kSoughtLine = "11=apps\\office2003\\setup.exe /q";
constexpr size_t kSoughtSize = kSoughtHeader.size() + kSoughtLine.size() + 4;

// Filler stops this far from the end; one padding line takes up the rest.
// Every filler line is shorter than half of it.
constexpr size_t kPaddingRoom = 200;
// Room for filler around a middle entry and for the padding line.
constexpr size_t kMinimumFiller = 2 * kPaddingRoom + 100;

struct Label {
  std::string_view header;
  std::string_view header_other_case;
  bool is_sought;  // entries here must never be "11="
};

constexpr Label kLabels[] = {
    {"[win98LaunchFiles]", "[Win98LaunchFiles]", false},
    {"[winmeLaunchFiles]", "[WinMELaunchFiles]", false},
    {"[winntLaunchFiles]", "[WinNTLaunchFiles]", false},
    {"[win2kLaunchFiles]", "[Win2KLaunchFiles]", false},
    {"[winxpLaunchFiles]", "[WinXPLaunchFiles]", true},
    {"[winvistaLaunchFiles]", "[WinVistaLaunchFiles]", false},
    {"[defaultLaunchFiles]", "[DefaultLaunchFiles]", false},
    // Read by no host, as authors still write them.
    {"[win95LaunchFiles]", "[Win95LaunchFiles]", false},
    {"[win7LaunchFiles]", "[Win7LaunchFiles]", false},
};

constexpr std::string_view kKeys[] = {"8",  "9",  "10", "11",      "12",
                                      "14", "15", "16", "default", "Default"};
// What key 11 becomes in the sought section: lines that look like the entry
// and never match it.
constexpr std::string_view kNearMisses[] = {"110", " 11", "11 "};
constexpr std::string_view kProducts[] = {
    "office2000", "officexp",   "office2003", "office2007",    "office2010",
    "office2013", "office2016", "viewers",    "tools\\compat", "legacy\\win9x"};
constexpr std::string_view kPrograms[] = {"setup.exe", "start.exe", "install.exe", "Setup.EXE"};
constexpr std::string_view kSwitches[] = {"", " /q", " /quiet /norestart", " /config config.xml",
                                          " /lang:1033"};

// A fixed-seed linear congruential generator: the same file every time.
class Random {
 public:
  size_t Below(size_t bound) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<size_t>(state_ >> 33) % bound;
  }

 private:
  std::uint64_t state_ = 0x5eed;
};

template <typename T, size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[random.Below(N)];
}

class Builder {
 public:
  explicit Builder(size_t size) { corpus_.bytes.reserve(size); }

  size_t size() const { return corpus_.bytes.size(); }

  void Line(std::string_view text) {
    corpus_.bytes.append(text);
    corpus_.bytes.append("\r\n");
    corpus_.longest_line = std::max(corpus_.longest_line, text.size());
  }

  void SoughtEntry() {
    Line(kSoughtHeader);
    Line(kSoughtLine);
    corpus_.bytes_to_match = corpus_.bytes.size();
    need_header_ = true;  // what follows must not fall into the sought section
  }

  // Ordinary lines until the file holds at least `until` bytes.
  void FillTo(size_t until) {
    std::string line;
    while (size() < until) {
      line.clear();
      if (need_header_ || random_.Below(7) == 0) {
        section_ = &Pick(random_, kLabels);
        line = random_.Below(4) == 0 ? section_->header_other_case : section_->header;
        need_header_ = false;
      } else {
        std::string_view key = Pick(random_, kKeys);
        if (section_->is_sought && key == kSoughtKey) key = Pick(random_, kNearMisses);
        line.append(key).append("=apps\\").append(Pick(random_, kProducts));
        line.append("\\").append(Pick(random_, kPrograms)).append(Pick(random_, kSwitches));
      }
      Line(line);
    }
  }

  // One ignored line of `length` bytes; the current section does not read it.
  void Notes(size_t length) {
    static constexpr std::string_view kWords = "see readme.txt on the disc ";
    std::string line = "notes=";
    while (line.size() < length) line.append(kWords.substr(0, length - line.size()));
    line.resize(length);
    Line(line);
  }

  Corpus Take() {
    if (corpus_.bytes_to_match == 0) corpus_.bytes_to_match = corpus_.bytes.size();
    return std::move(corpus_);
  }

 private:
  Corpus corpus_;
  Random random_;
  const Label* section_ = &kLabels[0];
  bool need_header_ = true;
};

}  // namespace

const char* MatchPlaceName(MatchPlace place) {
  switch (place) {
    case MatchPlace::kStart:
      return "start";
    case MatchPlace::kMiddle:
      return "middle";
    case MatchPlace::kEnd:
      return "end";
    case MatchPlace::kAbsent:
      return "absent";
  }
  return "?";
}

Corpus MakeLaunchIni(size_t size, MatchPlace place, size_t long_line) {
  const size_t sought = place == MatchPlace::kAbsent ? 0 : kSoughtSize;
  const size_t fixed = sought + (long_line > 0 ? long_line + 2 : 0);
  if (size < fixed + kMinimumFiller) throw std::invalid_argument("launch.ini size too small");

  Builder builder(size);
  if (place == MatchPlace::kStart) builder.SoughtEntry();
  if (long_line > 0) builder.Notes(long_line);
  if (place == MatchPlace::kMiddle) {
    builder.FillTo((size - sought) / 2);
    builder.SoughtEntry();
  }
  const size_t tail = place == MatchPlace::kEnd ? sought : 0;
  if (size - tail > builder.size() + kPaddingRoom) {
    builder.FillTo(size - tail - kPaddingRoom);
  }
  // The padding line makes the size exact; it needs room for its terminator.
  builder.Notes(size - tail - builder.size() - 2);
  if (place == MatchPlace::kEnd) builder.SoughtEntry();
  return builder.Take();
}

}  // namespace bench
