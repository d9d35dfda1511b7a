#!/usr/bin/env bash
# Each fuzz target replays its committed seed corpus, then fuzzes for a short,
# bounded time (FUZZ_SECONDS, 20 by default) from those seeds. New inputs go
# to a scratch directory, never into fuzz/corpus. A difference from a model,
# a sanitizer report, a crash or a hang fails the stage and leaves the input
# in build/fuzz/findings/.
set -euo pipefail
scripts/ensure-packages.sh cmake ninja-build clang-14 libclang-rt-14-dev

cmake --preset fuzz
cmake --build --preset fuzz -j2

seconds="${FUZZ_SECONDS:-20}"
findings="$PWD/build/fuzz/findings"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$findings"
for target in command_line launch_entry number_text registry_value; do
  echo "-- ${target}_fuzzer, ${seconds} s"
  mkdir -p "$scratch/$target"
  if ! build/fuzz/fuzz/${target}_fuzzer -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/${target}-" \
      "$scratch/$target" "fuzz/corpus/$target" >"$scratch/$target.log" 2>&1; then
    tail -n 40 "$scratch/$target.log"
    echo "${target}_fuzzer failed; the input is in $findings" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$scratch/$target.log" || true
  grep -E '^#[0-9]+[[:space:]]+DONE' "$scratch/$target.log" || true
done
