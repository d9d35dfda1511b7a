#ifndef LAUNCHER_BENCH_WIN32_SAMPLE_STATS_H_
#define LAUNCHER_BENCH_WIN32_SAMPLE_STATS_H_

#include <vector>

namespace bench {

// What the Windows benchmarks report of repeated runs: the median, which a
// busy machine disturbs least, and the minimum, the best the program did.
struct SampleSummary {
  double median = 0;
  double min = 0;
};

// The median (the mean of the two middle samples for an even count) and the
// minimum of `samples`; both 0 when there are none.
SampleSummary Summarise(std::vector<double> samples);

// Each a[i] / b[i] for the runs made as pairs (a[i] next to b[i]); the
// shorter length decides how many, and a pair with b[i] <= 0 is left out.
std::vector<double> PairedRatios(const std::vector<double>& a, const std::vector<double>& b);

}  // namespace bench

#endif  // LAUNCHER_BENCH_WIN32_SAMPLE_STATS_H_
