#!/usr/bin/env bash
# Configures, builds and runs every test from a clean clone, installing the
# Debian packages it needs first. Each stage lives in scripts/test.d/ and
# runs in name order; the first failing stage stops the run.
set -euo pipefail
cd "$(dirname "$0")/.."

for stage in scripts/test.d/*.sh; do
  echo "== ${stage#scripts/test.d/}"
  bash "$stage"
done
