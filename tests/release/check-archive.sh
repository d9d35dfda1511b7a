#!/usr/bin/env bash
# Checks a release archive as CPack makes it: launcher-VERSION-win32.zip from
# the i686 build (win64: the x86_64 build). It must hold one folder of that
# name with exactly launcher.exe, launchcheck.exe, launch.ini, autorun.inf
# and README.txt, in that byte order of names; the programs built for the
# archive's architecture, stripped and without a link time (the i686
# launcher.exe also passes inspect.sh); the three text files plain ASCII with
# CR LF line ends; launch.ini of headers and entries only.
#
# With --run, the archive's launchcheck.exe is also run as
# "RUNNER... launchcheck.exe ARGS" from within the unpacked folder: --help,
# --version (which must print the archive's version), and a check of the
# example launch.ini, with an empty file for every program it names, that
# must find nothing to report.
# Usage: check-archive.sh ZIP [--run RUNNER...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
usage="usage: check-archive.sh ZIP [--run RUNNER...]"
zip="${1:?$usage}"
shift
runner=()
if [ $# -gt 0 ]; then
  if [ "$1" != --run ] || [ $# -lt 2 ]; then
    echo "$usage" >&2
    exit 2
  fi
  shift
  runner=("$@")
  # Made absolute: it runs from within the unpacked folder.
  [[ -e ${runner[0]} && ${runner[0]} != /* ]] && runner[0]="$PWD/${runner[0]}"
fi
failures=0

pass() { echo "ok: $1"; }
fail() {
  echo "FAILED: $1" >&2
  failures=$((failures + 1))
}
check() {  # check NAME COMMAND...
  local name="$1"
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}

name="$(basename "$zip" .zip)"
if [[ ! $name =~ ^launcher-([0-9]+\.[0-9][0-9])-(win32|win64)$ ]]; then
  echo "FAILED: $zip is not named launcher-VERSION-win32.zip (or -win64)" >&2
  exit 1
fi
version="${BASH_REMATCH[1]}"
if [ "${BASH_REMATCH[2]}" = win32 ]; then
  objdump=i686-w64-mingw32-objdump format=pei-i386
else
  objdump=x86_64-w64-mingw32-objdump format=pei-x86-64
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
check "archive is intact" unzip -tqq "$zip"
expected="$(printf "$name/%s\n" README.txt autorun.inf launch.ini launchcheck.exe launcher.exe)"
check "holds $name/ with the five files, in order" test "$(unzip -Z1 "$zip")" = "$expected"
unzip -qq -o "$zip" -d "$work"
folder="$work/$name"

# --- The programs ---
# The COFF header's TimeDateStamp: 8 bytes after the PE signature, whose
# offset is at 0x3c.
link_time() {
  local offset
  offset="$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')"
  od -An -tu4 -j"$((offset + 8))" -N4 "$1" | tr -d ' '
}
for program in launcher.exe:"Windows GUI" launchcheck.exe:"Windows CUI"; do
  file="${program%%:*}" subsystem="${program#*:}"
  [ -f "$folder/$file" ] || continue
  header="$("$objdump" -p "$folder/$file" 2>/dev/null || true)"
  check "$file: $format" grep -q "file format $format\$" <<<"$header"
  check "$file: $subsystem subsystem" grep -q "^Subsystem.*($subsystem)" <<<"$header"
  check "$file: no link time" test "$(link_time "$folder/$file")" = 0
  check "$file: stripped" grep -q '^no symbols' < <("$objdump" -t "$folder/$file" 2>/dev/null)
done
if [ "$format" = pei-i386 ] && [ -f "$folder/launcher.exe" ]; then
  if inspection="$("$here/inspect.sh" "$folder/launcher.exe" 2>&1)"; then
    pass "launcher.exe: inspect.sh"
  else
    fail "launcher.exe: inspect.sh"$'\n'"$inspection"
  fi
fi

# --- The text files ---
# The whole file, read as bytes: a lone CR or LF, a NUL or any byte beyond
# printable ASCII fails.
crlf_ascii() {  # printable ASCII lines, each ending in CR LF, none other
  [ -s "$1" ] && perl -0777 -ne 'exit(/\A(?:[\x20-\x7e]*\r\n)+\z/ ? 0 : 1)' "$1"
}
for file in launch.ini autorun.inf README.txt; do
  [ -f "$folder/$file" ] && check "$file: plain ASCII, CR LF line ends" crlf_ascii "$folder/$file"
done
lines() { tr -d '\r' <"$folder/$1"; }
labels='win98|winme|winnt|win2k|winxp|winvista|default'
check "launch.ini: only headers of host labels and entries" test -z "$(lines launch.ini |
  grep -Evi "^\[($labels)LaunchFiles\]\$|^([0-9]+|default)=[^ []+$")"
check "launch.ini: a default entry in [defaultLaunchFiles]" test -n "$(lines launch.ini |
  sed -n '/^\[defaultLaunchFiles\]$/,/\[/p' | grep '^default=')"
check "autorun.inf: starts launcher.exe" grep -qx 'open=launcher.exe' < <(lines autorun.inf)
check "README.txt: names version $version" \
  test "$(lines README.txt | head -n 1)" = "launcher $version"

# --- launchcheck.exe, run ---
if [ ${#runner[@]} -gt 0 ]; then
  run() {  # run ARGS...: status, standard output without CRs, standard error
    local status=0
    (cd "$folder" && timeout -k 10 300 "${runner[@]}" launchcheck.exe "$@") >"$work/out" 2>"$work/err" || status=$?
    tr -d '\r' <"$work/out" >"$work/out.txt"
    return "$status"
  }
  check "launchcheck.exe --help: exit status 0" run --help
  check "launchcheck.exe --help: usage" \
    test "$(head -n 1 "$work/out.txt")" = "Usage: launchcheck [OPTIONS] [DIR]"
  check "launchcheck.exe --version: exit status 0" run --version
  check "launchcheck.exe --version: launchcheck $version" \
    test "$(cat "$work/out.txt")" = "launchcheck $version"
  # Every program the example names, as an empty file beside it.
  lines launch.ini | sed -n 's/^[^[][^=]*=\([^ ]*\).*/\1/p' | tr '\\' / | sort -u |
    while read -r program; do
      mkdir -p "$folder/$(dirname "$program")"
      : >"$folder/$program"
    done
  check "launchcheck.exe on the example: exit status 0" run
  check "launchcheck.exe on the example: rows that start its entries" \
    grep -Eq '^[a-z0-9]+ +[0-9]+ +primary ' "$work/out.txt"
  check "launchcheck.exe on the example: no finding" \
    test -z "$(grep -i 'launch\.ini' "$work/err")"
fi

if [ "$failures" -ne 0 ]; then
  echo "$zip: $failures check(s) failed" >&2
  exit 1
fi
echo "$zip: every check passed"
