#!/usr/bin/env bash
# Peak resident memory of one launch.ini lookup, read from disk the way the
# launcher reads it, for files of different shapes. The lookup reads
# through a buffer of fixed size, so its memory should follow neither the
# size of the file nor the length of its longest line. Prints one row
# per file; not part of the test command (it writes ~280 MB to a scratch
# directory and takes a minute).
#
#   fuzz/measure-memory.sh [BUILD_DIR]     (default build/measure)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/measure}"
scripts/ensure-packages.sh cmake ninja-build g++ time

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAUNCHER_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target lookup_memory >/dev/null
program="$build/fuzz/lookup_memory"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mib=$((1024 * 1024))
tail_entry=$'[defaultLaunchFiles]\r\ndefault=apps\\start.exe\r\n'

# A few lines only.
printf '%s' "$tail_entry" >"$scratch/small.ini"
# 100 MiB of short CR LF lines (27 bytes each), the entry at the very end.
{
  yes $'[winxpLaunchFiles]\r\n11=apps\\office2003.exe\r' | head -c $((100 * mib)) || true
  printf '\r\n%s' "$tail_entry"
} >"$scratch/short-lines.ini"
# One 10 MiB line, then the entry.
{
  printf '[defaultLaunchFiles]\r\n'
  head -c $((10 * mib)) /dev/zero | tr '\0' 'x'
  printf '\r\n%s' "$tail_entry"
} >"$scratch/one-10mib-line.ini"
# One 64 MiB line and nothing else: no entry to find, all of it read.
head -c $((64 * mib)) /dev/zero | tr '\0' 'x' >"$scratch/one-64mib-line.ini"
# 100 MiB with Unix line endings: to the lookup, one 100 MiB line.
{
  yes $'[winxpLaunchFiles]\n11=apps\\office2003.exe' | head -c $((100 * mib)) || true
  printf '\n%s' "$tail_entry"
} >"$scratch/lf-only.ini"

printf '%-20s %12s %14s %16s %s\n' file size_bytes longest_line peak_rss_kib value
for name in small short-lines one-10mib-line one-64mib-line lf-only; do
  file="$scratch/$name.ini"
  # Lines end at CR; the LF of a CR LF is the start of the next record.
  longest=$(perl -e '$/ = "\r"; my $m = 0;
    while (<>) { chomp; s/^\n//; $m = length if length > $m } print $m' "$file")
  result=$(/usr/bin/time -f 'time_rss_kib=%M' "$program" "$file" defaultLaunchFiles default 2>&1)
  value=$(grep -o 'value_bytes=[0-9]*' <<<"$result")
  rss=$(grep -o 'time_rss_kib=[0-9]*' <<<"$result" | cut -d= -f2)
  printf '%-20s %12s %14s %16s %s\n' "$name" "$(stat -c %s "$file")" "$longest" "$rss" "$value"
done
