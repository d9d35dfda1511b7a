#!/usr/bin/env bash
# The release build (i686 launcher.exe) inspected without running it: format,
# subsystem, imports, icon, version record and manifest.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64 \
  icoutils libxml2-utils

cmake --preset windows-x86
cmake --build --preset windows-x86 --target launcher
tests/release/inspect.sh build/windows-x86/launcher.exe
