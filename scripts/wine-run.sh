#!/usr/bin/env bash
# Runs a Windows program quietly in the project's own prefix (created by
# scripts/wine-prefix.sh): a 64-bit one under wine64, or with --win32 a
# 32-bit one under 32-bit Wine. Used by CTest as the cross-compiling
# emulator.
#   scripts/wine-run.sh [--win32] PROGRAM [ARGUMENTS...]
set -euo pipefail
win32=0
if [ "${1:-}" = --win32 ]; then
  win32=1
  shift
fi
. "$(dirname "$0")/wine-env.sh"
exec "$wine" "$@"
