#!/usr/bin/env bash
# Makes 32-bit Wine work on this x86_64 machine, whose kernel runs no 32-bit
# programs, and starts the project's 32-bit prefix (scripts/wine-prefix.sh
# --win32):
#  - the i386 packages: Debian's 32-bit Wine and qemu-user-static;
#  - qemu_workaround.c, built into build/wine32/ and installed with its
#    interpreter in /usr/local/lib/launcher-wine32/, which mends two faults
#    of qemu 7.2 that stop Wine;
#  - a binfmt_misc entry that hands every i386 program to qemu-i386-static
#    with that library preloaded. Registering it CHANGES HOW THIS WHOLE
#    MACHINE RUNS i386 PROGRAMS, so it is done only when no entry that works
#    is there; an entry of ours whose files are gone is replaced. Its files
#    live at one place of the machine's rather than in a checkout, so that
#    one entry serves every checkout, and chroots that have them there too.
# Needs root (or sudo) for the packages and the entry. Stops with an error
# naming what is missing where binfmt_misc cannot be used.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"
out="$root/build/wine32"
entry=launcher-i386
binfmt=/proc/sys/fs/binfmt_misc
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
  echo "wine32/setup.sh: $*" >&2
  echo "(LAUNCHER_SKIP_I686=1 skips the i686 stage on purpose.)" >&2
  exit 1
}

# --- Packages ---
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "adding the i386 architecture to dpkg"
  $sudo dpkg --add-architecture i386
fi
scripts/ensure-packages.sh qemu-user-static wine32:i386 wine64 clang-14

# --- The workaround, and the interpreter that preloads it ---
library=libqemu_workaround.so
home=/usr/local/lib/launcher-wine32
mkdir -p "$out/lib/i386-linux-gnu" "$out/lib/x86_64-linux-gnu"
# The 64-bit twin is empty: it only keeps the loader quiet in the 64-bit
# Wine server, which inherits LD_PRELOAD from the 32-bit programs.
/usr/bin/clang-14 -m32 -O2 -Wall -Werror -shared -nostdlib -fPIC \
  -o "$out/lib/i386-linux-gnu/$library" scripts/wine32/qemu_workaround.c
/usr/bin/clang-14 -O2 -Wall -Werror -shared -nostdlib -fPIC \
  -o "$out/lib/x86_64-linux-gnu/$library" scripts/wine32/qemu_workaround.c
cat >"$out/qemu-i386" <<EOF
#!/bin/sh
# binfmt_misc interpreter of the entry $entry (scripts/wine32/setup.sh).
exec /usr/bin/qemu-i386-static -E 'LD_PRELOAD=$home/\$LIB/$library' "\$@"
EOF
for file in qemu-i386 "lib/i386-linux-gnu/$library" "lib/x86_64-linux-gnu/$library"; do
  # Replaced only when it differs, and by a new file: running programs keep theirs.
  if ! cmp -s "$out/$file" "$home/$file"; then
    $sudo install -D -m 755 "$out/$file" "$home/$file.new"
    $sudo mv "$home/$file.new" "$home/$file"
  fi
done
interpreter="$home/qemu-i386"

# --- binfmt_misc ---
if [ ! -e "$binfmt/register" ]; then
  $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    fail "binfmt_misc is not available: $binfmt cannot be mounted (it needs root and a kernel" \
      "or container that allows it), so i386 programs cannot be handed to qemu-i386-static"
fi
[ -w "$binfmt/register" ] || [ -n "$sudo" ] ||
  fail "binfmt_misc is mounted read-only at $binfmt: no interpreter for i386 programs can be registered"

register() {
  [ -e "$binfmt/$entry" ] && echo -1 | $sudo tee "$binfmt/$entry" >/dev/null
  echo "registering binfmt_misc entry $entry: from now on this machine runs every i386" \
    "program under $interpreter"
  # The usual qemu magic for i386 ELF executables and shared objects; F
  # opens the interpreter now, so it serves chroots and namespaces too.
  printf '%s' ":$entry:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$interpreter:F" |
    $sudo tee "$binfmt/register" >/dev/null ||
    fail "cannot register a binfmt_misc entry (is $binfmt writable here?)"
}

# An entry of ours is usable when it is enabled and names the interpreter
# installed above; anything else of ours (an older one, or one whose files
# are gone) is replaced. Another entry for i386 programs is tried as it is,
# and replaced by ours only if Wine fails.
ours_usable() {
  [ -f "$binfmt/$entry" ] && grep -qx enabled "$binfmt/$entry" &&
    grep -qx "interpreter $interpreter" "$binfmt/$entry"
}
other_i386_entry() {
  grep -lx 'magic 7f454c4601010100000000000000000002000300' "$binfmt"/* 2>/dev/null |
    grep -v "/$entry\$" | while read -r file; do
      grep -qx enabled "$file" && echo "${file##*/}"
    done | head -n 1
}
if ours_usable; then
  echo "binfmt_misc entry $entry is in place: $(sed -n 's/^interpreter //p' "$binfmt/$entry")"
elif other="$(other_i386_entry)" && [ -n "$other" ]; then
  echo "binfmt_misc entry $other handles i386 programs: trying 32-bit Wine with it"
  if ! scripts/wine-prefix.sh --win32; then
    echo "32-bit Wine did not start with $other"
    register
  fi
else
  register
fi

# Creating the prefix (or, when it exists, a first program in it) shows that
# 32-bit Wine really starts.
scripts/wine-prefix.sh --win32 ||
  fail "32-bit Wine does not start under qemu-i386-static (see the output above)"
