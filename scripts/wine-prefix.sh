#!/usr/bin/env bash
# Creates the project's Wine prefix once (headless: the null display driver)
# and keeps a wine server running for it, so each program start is cheap.
#   scripts/wine-prefix.sh [--win32] [stop]
# Without --win32: the 64-bit prefix build/wine-prefix, for wine64. With it:
# the 32-bit prefix build/wine-prefix-win32, for 32-bit Wine, which runs
# under qemu-i386 (scripts/wine32/setup.sh prepares that). "stop" ends the
# prefix's server.
set -euo pipefail
win32=0
if [ "${1:-}" = --win32 ]; then
  win32=1
  shift
fi
. "$(dirname "$0")/wine-env.sh"
if [ "$win32" -eq 1 ]; then
  # Emulated, everything takes several times as long; these only catch a
  # hang (measured unloaded: 15 s to boot, 26 s for the first program).
  boot_limit=300
  start_limit=120
  # Under qemu a new prefix's first programs now and then crash while its
  # services start (qemu shares one GDT among threads): such steps are tried
  # again. A test is tried again only when it times out (the CTest preset).
  attempts=3
else
  boot_limit=300
  start_limit=60
  attempts=1
fi
# bounded SECONDS COMMAND...: runs COMMAND, ending it (and what it started
# in its process group) when it outlasts SECONDS: every step that waits for
# Wine is bounded, so that a hung prefix fails the run instead of holding it.
bounded() {
  local limit="$1" status=0
  shift
  timeout -k 10 "$limit" "$@" || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "wine-prefix.sh: timed out after $limit s: $*" >&2
  fi
  return "$status"
}
# try WHAT LOG COMMAND...: runs COMMAND up to $attempts times, its output in
# LOG, saying what failed each time; fails when every attempt failed. After
# a failed attempt the prefix's server is ended with every program in it: a
# service that hangs would otherwise hang the next attempt too.
try() {
  local what="$1" log="$2" attempt
  shift 2
  for attempt in $(seq "$attempts"); do
    "$@" </dev/null >"$log" 2>&1 && return 0
    echo "wine-prefix.sh: $what failed in $WINEPREFIX (attempt $attempt of $attempts):" >&2
    tail -n 20 "$log" >&2
    bounded 60 "$wineserver" -k 2>/dev/null || true
  done
  return 1
}
if [ "${1:-}" = stop ]; then
  bounded 60 "$wineserver" -k 2>/dev/null || true
  exit 0
fi
# A prefix this script began (it has its log beside it, or was not there)
# is begun again from nothing after a failed attempt; any other is only
# updated.
fresh=0
if [ ! -e "$WINEPREFIX" ] || [ -f "$WINEPREFIX.boot.log" ]; then fresh=1; fi
make_prefix() {
  bounded 60 "$wineserver" -k 2>/dev/null || true  # a server left by an earlier run
  if [ "$fresh" -eq 1 ]; then rm -rf "$WINEPREFIX"; fi
  mkdir -p "$WINEPREFIX"
  # Until the debugger setting below is gone, a program that crashes while
  # the prefix is made (seen under qemu) would start the debugger and wait
  # for it; with the debugger disabled it just ends.
  local WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
  bounded "$boot_limit" "$wine" wineboot -i &&
    bounded "$start_limit" "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
    # Without a debugger a crashing program ends at once instead of waiting.
    { bounded "$start_limit" "$wine" reg delete \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f ||
      [ $? -lt 124 ]; } &&  # absent is fine, hung is not
    # The prefix's services end by themselves once it is made; one that
    # never does fails the attempt here.
    bounded "$start_limit" "$wineserver" -w
}
if [ ! -f "$WINEPREFIX/.ready" ]; then
  try "making the prefix" "$WINEPREFIX.boot.log" make_prefix || exit 1
  touch "$WINEPREFIX/.ready"
fi
bounded 60 "$wineserver" -p </dev/null >/dev/null 2>&1 || true  # already running: fine
# Start the prefix's background services now, detached from our output:
# started later by a test, they would inherit and hold CTest's output pipe.
# This first program also shows that Wine starts at all.
try "a first program" "$WINEPREFIX.start.log" bounded "$start_limit" "$wine" cmd /c exit || exit 1
