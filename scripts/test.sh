#!/usr/bin/env bash
# Configures, builds and runs every test from a clean clone, installing the
# Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-packages.sh cmake ninja-build g++ googletest libgtest-dev

cmake --preset native
cmake --build --preset native
ctest --preset native
