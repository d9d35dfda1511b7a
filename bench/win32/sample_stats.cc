#include "bench/win32/sample_stats.h"

#include <algorithm>

namespace bench {

SampleSummary Summarise(std::vector<double> samples) {
  SampleSummary summary;
  if (samples.empty()) return summary;
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  summary.min = samples.front();
  summary.median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  return summary;
}

std::vector<double> PairedRatios(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (b[i] > 0) ratios.push_back(a[i] / b[i]);
  }
  return ratios;
}

}  // namespace bench
