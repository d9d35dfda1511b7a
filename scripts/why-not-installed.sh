#!/usr/bin/env bash
# Says why apt cannot install the Debian packages named as arguments, and what
# the user can do about it; changes nothing. For i386 packages it also lists
# the Multi-Arch: same libraries they need whose amd64 and i386 candidates
# differ: dpkg installs such a library for both architectures only at one
# version, and apt will not pick another version by itself. That happens
# when an index downloaded for amd64 but not for i386 (a mirror in the middle
# of a sync), and then wine32:i386 cannot be installed.
# ensure-packages.sh runs it after a failed install.
#   scripts/why-not-installed.sh [--failed-indexes FILE] PACKAGE...
# FILE holds apt-get update's "Failed to fetch" lines.
set -euo pipefail
failed_indexes=/dev/null
if [ "${1:-}" = --failed-indexes ]; then
  failed_indexes="$2"
  shift 2
fi
packages=("$@")
export LC_ALL=C # apt's words are read below
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
shown=5 # lines of apt's reasons

i386=()
for package in "${packages[@]}"; do
  case "$package" in *:i386) i386+=("$package") ;; esac
done

# One line per library whose i386 candidate is not its amd64 candidate:
#   name, amd64 installed, amd64 candidate, i386 candidate, the suite the i386
#   candidate comes from, the newest version both architectures offer ("-"
#   when none), and whether the amd64 copy must go down to it (1/0).
# The version tables are newest first.
disagreeing() {
  awk '
    /^[^ ].*:$/ {
      name = substr($0, 1, length($0) - 1)
      arch = name ~ /:i386$/ ? "i386" : "native"
      sub(/:[^:]*$/, "", name)
      if (!(name in seen)) { seen[name]; order[++count] = name }
      key = name SUBSEP arch
      next
    }
    /^  Installed: / { installed[key] = $2; next }
    /^  Candidate: / { candidate[key] = $2; next }
    /^ (\*\*\*|   ) [^ ]/ { version = $(NF - 1); versions[key, ++n[key]] = version; next }
    /^        [0-9]/ {
      if ($2 != "/var/lib/dpkg/status" && !offered[key, version]) {
        offered[key, version] = 1
        suite[key, version] = $3
        sub(/\/.*/, "", suite[key, version])
      }
      next
    }
    END {
      for (i = 1; i <= count; i++) {
        name = order[i]
        amd64 = name SUBSEP "native"
        i386 = name SUBSEP "i386"
        have = installed[amd64]
        if (have == "" || have == "(none)") continue
        want = (i386 in candidate) ? candidate[i386] : "(none)"
        if (want == candidate[amd64]) continue
        common = "-"; down = 0; below = 0
        for (j = 1; j <= n[amd64]; j++) {
          version = versions[amd64, j]
          if ((offered[amd64, version] || version == have) && offered[i386, version]) {
            common = version; down = below; break
          }
          if (version == have) below = 1
        }
        from = (i386 SUBSEP want) in suite ? suite[i386, want] : "-"
        print name, have, candidate[amd64], want, from, common, down
      }
    }' "$@"
}

resolved=1
apt-get -s install --no-install-recommends "${packages[@]}" >"$work/simulated" 2>&1 || resolved=0

# When apt can work the install out, versions are not what stopped it.
: >"$work/disagree"
if [ "$resolved" -eq 0 ] && [ ${#i386[@]} -gt 0 ]; then
  # The libraries the i386 packages would bring that are installed for amd64.
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${i386[@]}" 2>/dev/null |
    sed -n 's/^<\{0,1\}\([^ <>:]*\):i386>\{0,1\}$/\1/p' | sort -u >"$work/needed"
  dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Architecture} ${Multi-Arch}\n' 2>/dev/null |
    awk '$1 == "ii" && $3 != "i386" && $4 == "same" { print $2 }' | sort -u >"$work/installed"
  comm -12 "$work/needed" "$work/installed" >"$work/shared"
  : >"$work/policy"
  if [ -s "$work/shared" ]; then
    # shellcheck disable=SC2046 # one name a line, no blanks in package names
    apt-cache policy $(sed 's/.*/& &:i386/' "$work/shared") >"$work/policy" 2>/dev/null || true
  fi
  disagreeing "$work/policy" >"$work/disagree"
fi

if [ -s "$failed_indexes" ]; then
  echo "Package indexes that apt-get update could not download (apt went on without them):"
  sed 's/^[EW]: Failed to fetch /  /; s/ *\[IP: [^]]*\]$//' "$failed_indexes"
fi

if [ "$resolved" -eq 0 ]; then
  # apt's unmet dependencies one a line, those that name a library above
  # first, then its errors.
  awk '/^The following packages have unmet dependencies:/ { unmet = 1; next }
       unmet && /^ [^ ]/ { package = $1; sub(/^ [^ ]+ : /, ""); line[++n] = package " : " $0; next }
       unmet && /^  / {
         sub(/^ +/, "")
         if ($0 ~ /^[A-Za-z]+: /) line[++n] = package " : " $0
         else line[n] = line[n] " " $0 # the rest of an "or"
         next
       }
       { unmet = 0 }
       END { for (i = 1; i <= n; i++) print line[i] }' "$work/simulated" >"$work/unmet"
  cut -d' ' -f1 "$work/disagree" | sed 's/.*/ &:i386 /' >"$work/names"
  { grep -F -f "$work/names" "$work/unmet" || true; grep -v -F -f "$work/names" "$work/unmet" || true; } \
    >"$work/reasons"
  echo "Why, in the words of apt-get -s install --no-install-recommends ${packages[*]}:"
  head -n "$shown" "$work/reasons" | sed 's/^/  /'
  more=$(($(wc -l <"$work/reasons") - shown))
  [ "$more" -le 0 ] || echo "  ($more more such lines)"
  grep '^E: ' "$work/simulated" | sed 's/^/  /' || true
else
  echo "apt-get -s install finds a way to install them: the install itself failed (see apt's output above)."
fi

if [ -s "$work/disagree" ]; then
  echo "Multi-Arch: same libraries whose amd64 and i386 candidates differ (dpkg installs both only at one version):"
  while read -r name have offered want _ _ _; do
    line="  $name: amd64 $have installed"
    [ "$offered" = "$have" ] || line+=", $offered offered"
    if [ "$want" = "(none)" ]; then line+="; no i386 version offered"; else line+="; i386 $want offered"; fi
    echo "$line"
  done <"$work/disagree"
fi

if [ "$resolved" -eq 0 ]; then
  echo "Nothing was installed, removed, pinned or downgraded: apt stopped before changing any package."
fi
echo "What you can do:"
echo "  - try again later, once apt-get update downloads every index;"
[ ${#i386[@]} -eq 0 ] || echo "  - skip the i686 stage on purpose: LAUNCHER_SKIP_I686=1 scripts/test.sh"
[ -s "$work/disagree" ] || exit 0

# A command that installs both architectures at one version. When every i386
# candidate above comes from one suite that amd64 offers it from too,
# preferring that suite for this one command lines the rest up (and keeps
# packages built against the amd64 libraries installable); only the amd64
# copies newer than it are named, to go down. Otherwise every library is
# named at the newest version both offer.
suites="$(awk '{ print ($4 == $6 ? $5 : "-") }' "$work/disagree" | sort -u)"
args=(--no-install-recommends)
if [ "$(echo "$suites" | wc -l)" -eq 1 ] && [ "$suites" != - ]; then
  args+=(-t "$suites")
  named="$(awk '$7 == 1' "$work/disagree")"
else
  named="$(cat "$work/disagree")"
fi
if echo "$named" | awk '$6 == "-" { found = 1 } END { exit !found }'; then
  echo "  (no single apt-get install can help now: no version of" \
    "$(echo "$named" | awk '$6 == "-" { printf "%s ", $1 }')is offered for both architectures)"
  exit 0
fi
if [ -n "$named" ]; then
  grep -q ' 1$' <<<"$named" && args+=(--allow-downgrades)
  while read -r name _ _ _ _ common _; do
    args+=("$name=$common" "$name:i386=$common")
  done <<<"$named"
fi
for package in "${packages[@]}"; do
  case " ${args[*]} " in *" $package="*) ;; *) args+=("$package") ;; esac
done
# What apt would do with it, from a simulation: it must be seen to work.
if ! apt-get -s install "${args[@]}" >"$work/suggested" 2>&1; then
  echo "  (no single apt-get install can help now: apt-get -s fails even with those versions)"
  exit 0
fi
echo "  - or, as root, install both architectures at one version:"
echo "      apt-get install ${args[*]}"
[ "${args[1]}" != -t ] || echo "    (-t ${args[2]}: for this command only, versions from ${args[2]}, which both architectures have)"
echo "    apt-get -s says: $(grep -m1 ' newly installed, ' "$work/suggested" | sed 's/ and [0-9]* not upgraded\.$//')"
removed="$(sed -n 's/^Remv \([^ ]*\) .*/\1/p' "$work/suggested" | tr '\n' ' ')"
[ -z "$removed" ] || echo "    it removes: $removed"
echo "    apt-get upgrade brings every library up again once the indexes agree."
