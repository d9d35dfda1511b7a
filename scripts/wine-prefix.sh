#!/usr/bin/env bash
# Creates the project's Wine prefix once (headless: the null display driver)
# and keeps a wine server running for it, so each program start is cheap.
# "scripts/wine-prefix.sh stop" ends the server.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Full paths: the plain commands "wine" and "wineserver" come only with the
# package wine, which wine64 merely recommends.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
if [ "${1:-}" = stop ]; then
  "$wineserver" -k 2>/dev/null || true
  exit 0
fi
if [ ! -f "$WINEPREFIX/.ready" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
  "$wineserver" -w
  touch "$WINEPREFIX/.ready"
fi
"$wineserver" -p || true  # already running for this prefix: fine
# Start the prefix's background services now, detached from our output:
# started later by a test, they would inherit and hold CTest's output pipe.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
