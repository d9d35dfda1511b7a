#!/usr/bin/env bash
# The decision logic and the simulated host, built natively.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build g++ googletest libgtest-dev

cmake --preset native
cmake --build --preset native
ctest --preset native
