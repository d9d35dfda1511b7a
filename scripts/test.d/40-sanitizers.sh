#!/usr/bin/env bash
# The native tests again, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer: any memory fault or undefined behaviour, and
# any leak, fails the test that caused it.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build clang-14 libclang-rt-14-dev googletest libgtest-dev

cmake --preset native-asan
cmake --build --preset native-asan -j2
ctest --preset native-asan -j2
