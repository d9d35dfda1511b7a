#!/usr/bin/env bash
# The Windows builds: i686 (the release target; 30-i686.sh runs it) and
# x86_64, whose tests run here under wine64, natively and fast.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build googletest \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 wine64
# The tests named *_cp932 run Wine in a Japanese locale (code page 932).
scripts/ensure-locale.sh ja_JP.UTF-8

cmake --preset windows-x86
cmake --build --preset windows-x86
cmake --preset windows-x64
cmake --build --preset windows-x64

trap 'scripts/wine-prefix.sh stop' EXIT
scripts/wine-prefix.sh
ctest --preset windows-x64
