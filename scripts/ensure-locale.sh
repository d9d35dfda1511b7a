#!/usr/bin/env bash
# Makes the glibc locales named as arguments (such as ja_JP.UTF-8) available,
# installing Debian's locales package and generating the ones that are
# missing. Wine takes a program's ANSI code page from its locale, and names
# beyond ASCII work only when that locale exists.
#   scripts/ensure-locale.sh LOCALE...
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/ensure-packages.sh" locales

# `locale -a` spells the character set in lower case without hyphens.
available() {
  local wanted
  wanted="$(echo "$1" | sed 's/\.\(.*\)$/.\L\1/; s/-//g')"
  locale -a 2>/dev/null | grep -qxF "$wanted"
}

missing=()
for name in "$@"; do
  available "$name" || missing+=("$name")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "generating locales: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
for name in "${missing[@]}"; do
  entry="$name ${name#*.}"  # ja_JP.UTF-8 UTF-8
  if grep -qxF "# $entry" /etc/locale.gen; then
    $sudo sed -i "s/^# $entry\$/$entry/" /etc/locale.gen
  elif ! grep -qxF "$entry" /etc/locale.gen; then
    echo "$entry" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
done
$sudo locale-gen >/dev/null
for name in "${missing[@]}"; do
  available "$name" || { echo "locale $name still missing after locale-gen" >&2; exit 1; }
done
