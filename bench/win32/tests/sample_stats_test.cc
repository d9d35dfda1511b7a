#include "bench/win32/sample_stats.h"

#include <gtest/gtest.h>

#include <vector>

namespace bench {
namespace {

TEST(SummariseTest, MedianAndMinimumOfUnsortedSamples) {
  struct Case {
    std::vector<double> samples;
    double median;
    double min;
  };
  const Case cases[] = {
      {{}, 0, 0},           {{7}, 7, 7},
      {{9, 1, 5}, 5, 1},    {{4, 10, 2, 8}, 6, 2},  // even count: mean of the middle two
      {{3, 3, 1, 3}, 3, 1},
  };
  for (const Case& c : cases) {
    const SampleSummary summary = Summarise(c.samples);
    EXPECT_DOUBLE_EQ(summary.median, c.median) << testing::PrintToString(c.samples);
    EXPECT_DOUBLE_EQ(summary.min, c.min) << testing::PrintToString(c.samples);
  }
}

TEST(PairedRatiosTest, PairsByIndexUpToTheShorterAndSkipsEmptyFloors) {
  EXPECT_EQ(PairedRatios({2, 9, 8}, {1, 3}), (std::vector<double>{2, 3}));
  EXPECT_EQ(PairedRatios({5, 6, 4}, {0, 2, 8}), (std::vector<double>{3, 0.5}));
  EXPECT_TRUE(PairedRatios({}, {1}).empty());
}

}  // namespace
}  // namespace bench
