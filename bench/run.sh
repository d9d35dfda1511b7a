#!/usr/bin/env bash
# Builds the benchmarks (the "bench" preset) and runs them: Google
# Benchmark's table, then the summary that the README quotes. Arguments go
# to the benchmark program, e.g. --benchmark_filter=64MiB to run one size.
# The generated launch.ini files (64 MiB at most at a time) are written to
# build/bench/data and removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev

cmake --preset bench >/dev/null
cmake --build --preset bench --target lookup_benchmark -j 2
mkdir -p build/bench/data
# Medians of repeated runs: the machine may be busy with other work.
build/bench/bench/lookup_benchmark --data_dir=build/bench/data \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_counters_tabular=true "$@"
