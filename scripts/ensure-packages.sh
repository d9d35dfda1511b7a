#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet.
# While a mirror syncs, `apt-get update` can fail on one index for an hour or
# more: it is tried a few times, then the install goes on with the lists that
# did download. An install that still fails ends with a short report of why
# and what to do (scripts/why-not-installed.sh); this script never pins or
# downgrades anything itself.
#   LAUNCHER_APT_RETRY_PAUSE  seconds between attempts at apt-get update (30)
set -euo pipefail
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
here="$(cd "$(dirname "$0")" && pwd)"

# The script that asked, so that a stage's output says who is installing.
caller=""
while IFS= read -r -d '' arg; do
  case "$arg" in
    *scripts/*.sh) caller="${arg##*scripts/}" && break ;;
    *.sh) caller="${arg##*/}" && break ;;
  esac
done 2>/dev/null </proc/$PPID/cmdline || true
who="ensure-packages.sh${caller:+ for $caller}"

echo "installing${caller:+ for $caller}: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

attempts=4
pause="${LAUNCHER_APT_RETRY_PAUSE:-30}"
for attempt in $(seq "$attempts"); do
  status=0
  $sudo apt-get update -qq >"$work/update" 2>&1 || status=$?
  grep '^[EW]: Failed to fetch ' "$work/update" >"$work/failed-indexes" || true
  if [ "$status" -eq 0 ] && [ ! -s "$work/failed-indexes" ]; then
    cat "$work/update" >&2
    break
  fi
  if cmp -s "$work/update" "$work/update.before"; then
    echo "$who: apt-get update failed again the same way (attempt $attempt of $attempts)" >&2
  else
    echo "$who: apt-get update failed (exit status $status, attempt $attempt of $attempts):" >&2
    { grep '^[EW]: ' "$work/update" || cat "$work/update"; } | sed 's/^/  /' >&2
  fi
  mv "$work/update" "$work/update.before"
  if [ "$attempt" -lt "$attempts" ]; then
    echo "$who: trying apt-get update again in $pause s" >&2
    sleep "$pause"
  else
    echo "$who: going on with the package lists that did download" >&2
  fi
done

status=0
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
  status=$?
[ "$status" -eq 0 ] && exit 0
{
  echo "== $who: could not install ${missing[*]} (apt-get install exit status $status)"
  "$here/why-not-installed.sh" --failed-indexes "$work/failed-indexes" "${missing[@]}" || true
} >&2
exit "$status"
