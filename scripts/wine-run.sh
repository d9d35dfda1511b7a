#!/usr/bin/env bash
# Runs a 64-bit Windows program under wine64 in the project's own prefix
# (created by scripts/wine-prefix.sh), quietly. Used by CTest as the
# cross-compiling emulator.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
