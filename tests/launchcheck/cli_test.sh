#!/bin/sh
# The built launchcheck program from the shell: arguments, exit statuses and
# which stream each output goes to. Usage: cli_test.sh PATH-TO-LAUNCHCHECK
set -u
tool="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

disc="$work/my disc"
mkdir -p "$disc/apps"
: >"$disc/apps/start.exe"
: >"$disc/apps/Setup.exe"
printf '[winxpLaunchFiles]\r\n11=apps\\setup /q\r\n[defaultLaunchFiles]\r\ndefault=apps\\start.exe\r\n' \
  >"$disc/launch.ini"

out="$("$tool" --os 5.1 --office 11 --dir 'C:\My Disc' -- "$disc" 2>"$work/err")"
check "one host: status" 0 $?
check "one host: output" 'C:\My Disc\apps\setup /q' "$out"
check "one host: nothing on stderr" "" "$(cat "$work/err")"

out="$(cd "$disc" && "$tool" --os 5.1 --office 11 2>/dev/null)"
check "DIR defaults to the current directory, in Windows spelling" \
  "Z:$(cd "$disc" && pwd -P | tr / '\\')"'\apps\setup /q' "$out"

printf '[winxpLaunchFiles]\r\n11=gone.exe\r\n' >"$work/launch.ini"
out="$("$tool" --os 5.1 --office 11 --dir 'D:\' "$work" 2>"$work/err")"
check "error report: status" 1 $?
check "error report: nothing on stdout" "" "$out"
check "error report: on stderr" 'error report: error 2: cannot start D:\: no such program' \
  "$(cat "$work/err")"

"$tool" --frobnicate "$disc" >"$work/out" 2>"$work/err"
check "unknown option: status" 2 $?
check "unknown option: nothing on stdout" "" "$(cat "$work/out")"
check "unknown option: message" "launchcheck: unknown option --frobnicate" "$(head -n 1 "$work/err")"

printf '[winxpLaunchFiles] \n11=apps\\setup /q\n' >"$work/launch.ini"
"$tool" --fix "$work/fixed.ini" "$work" >"$work/out" 2>"$work/err"
check "fix: status" 0 $?
check "fix: the changes" "$work/launch.ini:1: lone line feeds made CR LF, lines 1 to 2
$work/launch.ini:1: \"[winxpLaunchFiles] \" made \"[winxpLaunchFiles]\"" "$(cat "$work/out")"
printf '[winxpLaunchFiles]\r\n11=apps\\setup /q\r\n' | cmp -s - "$work/fixed.ini"
check "fix: the copy" 0 $?
"$tool" --fix "$work/fixed.ini" "$work" >/dev/null 2>"$work/err"
check "fix: an existing OUTPUT needs --force" "1 launchcheck: $work/fixed.ini exists; --force replaces it" \
  "$? $(cat "$work/err")"
"$tool" --fix "$work/fixed.ini" --force "$work" >/dev/null 2>&1
check "fix: --force replaces it" 0 $?
"$tool" --fix "$work/launch.ini" --force "$work" >/dev/null 2>&1
check "fix: never over launch.ini" 2 $?

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
