#!/usr/bin/env bash
# Shows the launcher at work under wine64: builds the x86_64 programs, lays
# out a disc directory from examples/ in build/demo/disc, and runs
# launcher.exe there twice: as Windows XP with Office 2003 (version 11) in the
# registry, then as Windows 7 with no Office at all. Each time it prints why
# the launcher picks the entry it picks and what was started. It uses a Wine
# prefix of its own and removes the registry values it set.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

scripts/ensure-packages.sh cmake ninja-build googletest \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 wine64

echo "== Building the x86_64 programs (preset windows-x64)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target launcher who_started_me

demo="$root/build/demo"
disc="$demo/disc"
record="$demo/started.txt"
export WINEPREFIX="$demo/wine-prefix"
# Each Wine command is bounded: a hung prefix ends the demo with an error.
wine=(timeout -k 10 120 "$root/scripts/wine-run.sh")

# The Windows path of a file below / (Wine's drive Z:).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The value of `key` in `[section]` of launch.ini, read as the launcher reads
# it: lines end at CR or CRLF, headers and keys match without regard to case,
# a line with "[" anywhere closes the section, the first match wins.
ini_value() {
  awk -v section="$2" -v key="$3" 'BEGIN { RS = "\r"; inside = 0 }
    { sub(/^\n/, "") }
    index($0, "[") > 0 { inside = (tolower($0) == "[" tolower(section) "]"); next }
    inside && tolower(substr($0, 1, length(key) + 1)) == tolower(key) "=" {
      print substr($0, length(key) + 2); exit
    }' "$1"
}

echo "== Laying out $disc"
rm -rf "$disc"
mkdir -p "$disc"
cp build/windows-x64/launcher.exe examples/layout/launch.ini "$disc/"
# Every program launch.ini names is the demo program under that name.
awk 'BEGIN { RS = "\r" } { sub(/^\n/, "") }
  index($0, "[") == 0 && match($0, /^[^=]+=/) {
    value = substr($0, RLENGTH + 1)
    if (match(tolower(value), /\.exe/)) print substr(value, 1, RSTART + 3)
  }' examples/layout/launch.ini | sort -u | while read -r program; do
  target="$disc/${program//\\//}"
  mkdir -p "$(dirname "$target")"
  cp build/windows-x64/examples/who_started_me.exe "$target"
  echo "   $program"
done

scripts/wine-prefix.sh
office_key='HKLM\Software\Microsoft\Office\Common'
version_key='HKCU\Software\Wine\AppDefaults\launcher.exe'
office_root='HKLM\Software\Microsoft\Office'
office_existed=0
"${wine[@]}" reg query "$office_root" >/dev/null 2>&1 && office_existed=1
cleanup() {
  "${wine[@]}" reg delete "$office_key" /v LastAccessInstall /f >/dev/null 2>&1 || true
  # The keys made for the value go too, unless they were there before.
  [ "$office_existed" -eq 1 ] || "${wine[@]}" reg delete "$office_root" /f >/dev/null 2>&1 || true
  "${wine[@]}" reg delete "$version_key" /f >/dev/null 2>&1 || true
  scripts/wine-prefix.sh stop
}
trap cleanup EXIT

export LAUNCHER_DEMO_RECORD
LAUNCHER_DEMO_RECORD="$(windows_path "$record")"
ini="$disc/launch.ini"
demo_failed=0
listing() { find "$disc" -printf '%P %s %T@\n' | sort; }
disc_before="$(listing)"

# run WINE_VERSION EXPECTED_VALUE: runs the launcher as that Windows and
# shows what it started, which must be the program EXPECTED_VALUE names.
run() {
  local version="$1" expected="$2"
  "${wine[@]}" reg add "$version_key" /v Version /d "$version" /f >/dev/null
  rm -f "$record"
  local status=0
  (cd "$demo" && "${wine[@]}" "$disc/launcher.exe") || status=$?
  # The started program runs on its own; give it time to write its line.
  for _ in $(seq 100); do
    [ -s "$record" ] && break
    sleep 0.1
  done
  echo "   launcher.exe ended with status $status and started:"
  if [ -s "$record" ]; then
    sed 's/^/     /' "$record"
  else
    echo "     nothing"
  fi
  local program="${expected%% *}"
  if ! grep -qiF "$(windows_path "$disc")\\$program was started" "$record" 2>/dev/null; then
    echo "   !! expected $program to be started" >&2
    demo_failed=1
  fi
  echo
}

echo
echo "== Run 1: Windows XP, Office 2003 in the registry"
"${wine[@]}" reg add "$office_key" /v LastAccessInstall /t REG_DWORD /d 11 /f >/dev/null
entry="$(ini_value "$ini" winxpLaunchFiles 11)"
cat <<EOF
   Wine reports Windows 5.1 to launcher.exe: the host label is winxp.
   $office_key\\LastAccessInstall is the number 11.
   launch.ini, section [winxpLaunchFiles], key 11: $entry
EOF
run winxp "$entry"

echo "== Run 2: Windows 7, no Office at all"
"${wine[@]}" reg delete "$office_key" /v LastAccessInstall /f >/dev/null 2>&1 || true
if "${wine[@]}" reg query 'HKCR\word.application' >/dev/null 2>&1; then
  echo "   !! this Wine prefix has a word.application class" >&2
  demo_failed=1
fi
entry="$(ini_value "$ini" defaultLaunchFiles default)"
cat <<EOF
   Wine reports Windows 6.1 to launcher.exe: no label of its own, so default.
   There is no LastAccessInstall value, and no word.application to ask for a
   version: the main path fails, and the launcher falls back to
   launch.ini, section [defaultLaunchFiles], key default: $entry
EOF
run win7 "$entry"

if [ "$(listing)" = "$disc_before" ]; then
  echo "Every file in $disc is as it was: the launcher wrote nothing there."
else
  echo "!! the launcher changed $disc" >&2
  demo_failed=1
fi
if [ "$demo_failed" -ne 0 ]; then
  echo "The demo did not go as described." >&2
  exit 1
fi
echo "(The lines under \"started\" were written by the demo programs, outside $disc.)"
