#!/usr/bin/env bash
# Creates the project's Wine prefix once (headless: the null display driver)
# and keeps a wine server running for it, so each program start is cheap.
#   scripts/wine-prefix.sh [--win32] [stop]
# Without --win32: the 64-bit prefix build/wine-prefix, for wine64. With it:
# the 32-bit prefix build/wine-prefix-win32, for 32-bit Wine, which runs
# under qemu-i386 (scripts/wine32/setup.sh prepares that). "stop" ends the
# prefix's server.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
win32=0
if [ "${1:-}" = --win32 ]; then
  win32=1
  shift
fi
# Wine maps file names through the locale: without one (as under env -i)
# names beyond ASCII cannot be made. C.UTF-8 is always there; a locale the
# caller sets is kept.
if [ -z "${LC_ALL:-}" ] && [ -z "${LANG:-}" ]; then export LANG=C.UTF-8; fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Full paths: the plain commands "wine" and "wineserver" come only with the
# package wine, which wine64 merely recommends. The 64-bit server serves
# 32-bit programs too.
wineserver=/usr/lib/wine/wineserver64
if [ "$win32" -eq 1 ]; then
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix-win32}"
  export WINEARCH=win32
  wine=/usr/lib/wine/wine
  # Emulated, everything takes several times as long; these only catch a hang.
  boot_limit=600
  start_limit=180
else
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix}"
  wine=/usr/lib/wine/wine64
  boot_limit=300
  start_limit=60
fi
if [ "${1:-}" = stop ]; then
  "$wineserver" -k 2>/dev/null || true
  exit 0
fi
if [ ! -f "$WINEPREFIX/.ready" ]; then
  mkdir -p "$WINEPREFIX"
  if ! timeout "$boot_limit" "$wine" wineboot -i >"$WINEPREFIX/boot.log" 2>&1; then
    echo "wine-prefix.sh: wineboot failed in $WINEPREFIX; its last words:" >&2
    tail -n 20 "$WINEPREFIX/boot.log" >&2
    exit 1
  fi
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
  # Without a debugger a crashing program ends at once instead of waiting.
  "$wine" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /f >/dev/null 2>&1 || true
  "$wineserver" -w
  touch "$WINEPREFIX/.ready"
fi
"$wineserver" -p || true  # already running for this prefix: fine
# Start the prefix's background services now, detached from our output:
# started later by a test, they would inherit and hold CTest's output pipe.
# This first program also shows that Wine starts at all.
if ! timeout "$start_limit" "$wine" cmd /c exit </dev/null >"$WINEPREFIX/start.log" 2>&1; then
  echo "wine-prefix.sh: no program starts in $WINEPREFIX; the first one said:" >&2
  tail -n 20 "$WINEPREFIX/start.log" >&2
  exit 1
fi
