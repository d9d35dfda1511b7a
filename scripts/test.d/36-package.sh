#!/usr/bin/env bash
# The release archive: made by its one command, made again from a copy of
# the sources elsewhere (no .git, as from a tarball), and the two compared
# byte for byte; then its contents checked. The x86_64 build's archive is
# checked too, with its launchcheck.exe run under wine64, which cannot run
# the i686 one.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build git googletest g++-mingw-w64-i686 \
  g++-mingw-w64-x86-64 binutils-mingw-w64 icoutils libxml2-utils unzip zip wine64

cmake --workflow --preset release
archive=launcher-$(sed -n 's/^#define LAUNCHER_VERSION_TEXT "\(.*\)"$/\1/p' \
  build/windows-x86/generated/version.h)-win32.zip

# The second build: other source and build paths, dated by SOURCE_DATE_EPOCH
# where the first took its commit's time (or, without .git, the same
# 1980-01-01 as the first).
twin="$(mktemp -d "$PWD/build/release-twin.XXXXXX")"
trap 'rm -rf "$twin"' EXIT
tar -C . --exclude=./build --exclude=./.git -cf - . | tar -C "$twin" -xf -
commit_time="$(git log -1 --format=%ct 2>/dev/null || echo 315532800)"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$commit_time}"
# Only what goes into the archive: the benchmarks would double the time.
(cd "$twin" && cmake --preset windows-x86 >/dev/null &&
  cmake --build --preset windows-x86 --target launcher launchcheck >/dev/null &&
  cpack --preset windows-x86 >/dev/null)

same=0
for file in launcher.exe tools/launchcheck/launchcheck.exe "$archive"; do
  first="build/windows-x86/$file" second="$twin/build/windows-x86/$file"
  if cmp -s "$first" "$second"; then
    echo "identical: $(sha256sum "$first" | cut -c1-64)  $(stat -c %s "$first") bytes  $file"
  else
    echo "FAILED: the two builds differ in $file:" >&2
    cmp -l "$first" "$second" | head -n 5 >&2 || true
    same=1
  fi
done
[ "$same" -eq 0 ]

tests/release/check-archive.sh "build/windows-x86/$archive"

# The check refuses what it is there for: a copy of the archive whose
# launch.ini has one lone line feed fails, on that check alone.
lone="$twin/lone-lf"
folder="${archive%.zip}"
mkdir -p "$lone" && unzip -qq "build/windows-x86/$archive" -d "$lone"
perl -0pi -e 's/\r\n/\n/' "$lone/$folder/launch.ini"
(cd "$lone" && zip -qX "$archive" "$folder"/{README.txt,autorun.inf,launch.ini,launchcheck.exe,launcher.exe})
status=0
report="$(tests/release/check-archive.sh "$lone/$archive" 2>&1)" || status=$?
if [ "$status" -eq 0 ] || [ "$(grep -c '^FAILED' <<<"$report")" -ne 1 ] ||
  ! grep -qx 'FAILED: launch.ini: plain ASCII, CR LF line ends' <<<"$report"; then
  echo "FAILED: the archive check did not refuse a launch.ini with a lone line feed:" >&2
  echo "$report" >&2
  exit 1
fi
echo "ok: a copy whose launch.ini has a lone line feed is refused"

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target launcher launchcheck
(cd build/windows-x64 && cpack >/dev/null)
scripts/wine-prefix.sh
trap 'rm -rf "$twin"; scripts/wine-prefix.sh stop' EXIT
tests/release/check-archive.sh "build/windows-x64/${archive/-win32/-win64}" \
  --run scripts/wine-run.sh
