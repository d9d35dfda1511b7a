#!/bin/sh
# What the compiler does not refuse in every build of src/: the simulated
# host and the shared logic are also built with exceptions on (for the
# tests and tools), and a (void) cast would silence a dropped failure.
# Usage: src_rules.sh SOURCE_DIR
set -u
src="$1/src"
found=0
if grep -rnE '\b(throw|try|catch)\b' "$src" --include='*.cc' --include='*.h' |
    grep -vE '__throw_|^[^:]*:[0-9]+:\s*//'; then
  echo "FAILED: exceptions in src/ (failures are Status and Result values)"
  found=1
fi
if grep -rnE '\(void\)\s*[A-Za-z_]' "$src" --include='*.cc' --include='*.h' |
    grep -v '^[^:]*:[0-9]*:\s*//'; then
  echo "FAILED: (void) casts in src/ (a failure not wanted is dropped with IgnoreFailure())"
  found=1
fi
[ "$found" -eq 0 ] && echo "src/ holds no exceptions and no (void) casts"
exit "$found"
