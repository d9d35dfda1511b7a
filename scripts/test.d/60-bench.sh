#!/usr/bin/env bash
# The benchmarks are built, never run here (they measure, they do not
# check); the helpers they compare with are tested.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev

cmake --preset bench
cmake --build --preset bench --target lookup_benchmark bench_tests
ctest --test-dir build/bench/bench --output-on-failure --no-tests=error --timeout 300
