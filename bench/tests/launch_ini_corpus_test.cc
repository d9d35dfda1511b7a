#include "bench/launch_ini_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "config/launch_entry.h"
#include "platform/simulated/simulated_host.h"

namespace bench {
namespace {

constexpr char kFile[] = "E:\\launch.ini";
const std::string kSoughtLine = std::string(kSoughtKey) + "=" + kSoughtValue + "\r\n";

std::string Lookup(const std::string& bytes) {
  platform::SimulatedHost host;
  host.AddFile(kFile, bytes);
  return checker::ReadLaunchEntry(host, kFile, kSoughtSection, kSoughtKey);
}

size_t LongestLine(const std::string& bytes) {
  size_t longest = 0;
  size_t begin = 0;
  for (size_t cr = bytes.find('\r'); cr != std::string::npos; cr = bytes.find('\r', begin)) {
    longest = std::max(longest, cr - begin);
    begin = cr + 2;
  }
  return longest;
}

struct Shape {
  size_t size;
  MatchPlace place;
  size_t long_line;
};

TEST(LaunchIniCorpusTest, EntryStandsWhereAskedAndNowhereElse) {
  const Shape shapes[] = {
      {1024, MatchPlace::kStart, 0},       {1024, MatchPlace::kMiddle, 0},
      {1024, MatchPlace::kEnd, 0},         {1024, MatchPlace::kAbsent, 0},
      {1 << 20, MatchPlace::kStart, 0},    {1 << 20, MatchPlace::kMiddle, 0},
      {1 << 20, MatchPlace::kEnd, 0},      {1 << 20, MatchPlace::kAbsent, 0},
      {1 << 20, MatchPlace::kStart, 5000}, {1 << 20, MatchPlace::kMiddle, 5000},
      {1 << 20, MatchPlace::kEnd, 700000}, {1 << 20, MatchPlace::kAbsent, 5000},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(std::to_string(shape.size) + " " + MatchPlaceName(shape.place) + " " +
                 std::to_string(shape.long_line));
    const Corpus corpus = MakeLaunchIni(shape.size, shape.place, shape.long_line);
    const std::string& bytes = corpus.bytes;
    ASSERT_EQ(bytes.size(), shape.size);
    EXPECT_EQ(corpus.longest_line, LongestLine(bytes));
    if (shape.long_line > 0) {
      EXPECT_EQ(corpus.longest_line, shape.long_line);
    }

    // CRLF lines only: no lone carriage return or line feed.
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'),
              std::count(bytes.begin(), bytes.end(), '\n'));
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos);

    if (shape.place == MatchPlace::kAbsent) {
      EXPECT_EQ(corpus.bytes_to_match, bytes.size());
      EXPECT_EQ(Lookup(bytes), "");
      continue;
    }
    EXPECT_EQ(Lookup(bytes), kSoughtValue);
    const size_t line = corpus.bytes_to_match - kSoughtLine.size();
    ASSERT_EQ(bytes.compare(line, kSoughtLine.size(), kSoughtLine), 0);
    // Without that line nothing in the file matches.
    std::string without = bytes;
    without.erase(line, kSoughtLine.size());
    EXPECT_EQ(Lookup(without), "");

    switch (shape.place) {
      case MatchPlace::kStart:
        EXPECT_EQ(bytes.rfind("[winxpLaunchFiles]\r\n", 0), 0u);
        break;
      case MatchPlace::kMiddle:
        EXPECT_GT(corpus.bytes_to_match, shape.size / 2 - 100);
        EXPECT_LT(corpus.bytes_to_match, shape.size / 2 + 200);
        break;
      default:
        EXPECT_EQ(corpus.bytes_to_match, bytes.size());
    }
  }
}

TEST(LaunchIniCorpusTest, HoldsTheLinesThatLookLikeTheEntry) {
  const std::string bytes = MakeLaunchIni(1 << 20, MatchPlace::kAbsent).bytes;
  for (const char* near_miss : {"\r\n110=", "\r\n 11=", "\r\n11 =", "\r\n11=", "\r\nDefault=",
                                "\r\n[WinXPLaunchFiles]\r\n", "\r\n[winxpLaunchFiles]\r\n",
                                "\r\n[defaultLaunchFiles]\r\n", "\r\n[win95LaunchFiles]\r\n"}) {
    EXPECT_NE(bytes.find(near_miss), std::string::npos) << near_miss;
  }
}

TEST(LaunchIniCorpusTest, SameArgumentsSameBytes) {
  EXPECT_EQ(MakeLaunchIni(100000, MatchPlace::kMiddle).bytes,
            MakeLaunchIni(100000, MatchPlace::kMiddle).bytes);
}

TEST(LaunchIniCorpusTest, RefusesSizesWithoutRoom) {
  EXPECT_THROW(MakeLaunchIni(100, MatchPlace::kEnd), std::invalid_argument);
  EXPECT_THROW(MakeLaunchIni(10000, MatchPlace::kAbsent, 10000), std::invalid_argument);
}

}  // namespace
}  // namespace bench
