#!/usr/bin/env bash
# Runs a Windows program quietly in the project's own prefix (created by
# scripts/wine-prefix.sh): a 64-bit one under wine64, or with --win32 a
# 32-bit one under 32-bit Wine. Used by CTest as the cross-compiling
# emulator.
#   scripts/wine-run.sh [--win32] PROGRAM [ARGUMENTS...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" = --win32 ]; then
  shift
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix-win32}"
  export WINEARCH=win32
  wine=/usr/lib/wine/wine
else
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix}"
  wine=/usr/lib/wine/wine64
fi
# Wine maps file names through the locale: without one (as under env -i)
# names beyond ASCII cannot be made. C.UTF-8 is always there; a locale the
# caller sets is kept.
if [ -z "${LC_ALL:-}" ] && [ -z "${LANG:-}" ]; then export LANG=C.UTF-8; fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "$wine" "$@"
