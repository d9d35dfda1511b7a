#!/usr/bin/env bash
# The Windows benchmarks: builds the x86_64 and i686 programs, then under
# wine64 (a prefix of its own, build/bench-win32/wine-prefix) runs the lookup
# against GetPrivateProfileStringA and times the launcher's start-up against
# the floors, checks which DLLs the launcher loads on its common path, and
# prints the sizes and imports of launcher.exe and of the bare floor.
#   bench/win32/run.sh [ROUNDS]     start-up rounds (default 30)
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds="${1:-30}"
scripts/ensure-packages.sh cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  binutils-mingw-w64 wine64

targets=(launcher lookup_benchmark_win32 startup_benchmark bench_child start_floor
  window_floor automation_floor)
for arch in x86_64 i686; do
  dir=build/bench-win32/$arch
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DLAUNCHER_TESTS=OFF --no-warn-unused-cli >/dev/null
  cmake --build "$dir" -j 2 --target "${targets[@]}" >/dev/null
done

x64=build/bench-win32/x86_64
export WINEPREFIX="$PWD/build/bench-win32/wine-prefix"
. scripts/wine-env.sh  # sets $wine
scripts/wine-prefix.sh
trap 'scripts/wine-prefix.sh stop' EXIT

echo "== Sizes (bytes) and imported DLLs"
for file in build/bench-win32/i686/launcher.exe build/bench-win32/i686/bench/win32/start_floor.exe \
  $x64/launcher.exe $x64/bench/win32/start_floor.exe; do
  objdump=i686-w64-mingw32-objdump
  [[ $file == *x86_64* ]] && objdump=x86_64-w64-mingw32-objdump
  dlls=$($objdump -p "$file" | awk '/DLL Name:/ {print $3}' | sort | tr '\n' ' ')
  functions=$($objdump -p "$file" | awk '/DLL Name:/ {n=1; next} n && NF==3 && $2 ~ /^[0-9]+$/ {c++} END {print c+0}')
  printf '%-50s %8d  %s functions from %s\n' "$file" "$(stat -c %s "$file")" "$functions" "$dlls"
done
echo "Sections of the i686 launcher.exe (bytes):"
i686-w64-mingw32-size -A build/bench-win32/i686/launcher.exe | awk 'NR > 2 && NF == 3'

echo
echo "== Lookup under wine64: checker::ReadLaunchEntry against GetPrivateProfileStringA"
$wine $x64/bench/win32/lookup_benchmark_win32.exe | tr -d '\r'

# A disc for the start-up: the launcher, the floors and the child side by
# side, a launch.ini naming the child for Office 11 on a "default" host
# (Wine's Windows 7), and the Office version in the registry, so that the
# launcher takes its common path.
disc=build/bench-win32/disc
rm -rf "$disc" && mkdir -p "$disc"
cp $x64/launcher.exe $x64/bench/win32/{bench_child,start_floor,window_floor,automation_floor}.exe "$disc"/
printf '[defaultLaunchFiles]\r\n11=bench_child.exe\r\n' >"$disc/launch.ini"
$wine reg add 'HKLM\Software\Microsoft\Office\Common' /v LastAccessInstall /t REG_DWORD /d 11 /f \
  >/dev/null
win_disc=$($wine winepath -w "$disc" | tr -d '\r')

echo
echo "== DLLs loaded by launcher.exe on its common path (registry answered)"
loaded=$(WINEDEBUG=+loaddll $wine "$disc/launcher.exe" 2>&1 | tr -d '\r' |
  sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' | sed 's/.*\\//' | sort -u | tr '\n' ' ')
echo "loaded: $loaded"
if grep -qiE 'ole32|oleaut32' <<<"$loaded"; then
  echo "automation libraries: LOADED on the common path"
else
  echo "automation libraries: not loaded on the common path"
fi

echo
echo "== Start-up under wine64: from CreateProcessA to bench_child.exe running"
$wine $x64/bench/win32/startup_benchmark.exe "$rounds" "$win_disc\\launcher.exe" \
  "$win_disc\\start_floor.exe" "$win_disc\\window_floor.exe" "$win_disc\\automation_floor.exe" |
  tr -d '\r'
