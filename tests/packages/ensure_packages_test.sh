#!/usr/bin/env bash
# scripts/ensure-packages.sh and scripts/why-not-installed.sh against apt,
# apt-cache, dpkg-query and sudo stand-ins that answer from mid-sync/: output
# recorded on a machine whose security archive's i386 index would not
# download, trimmed to the packages named here. update.txt is apt's message
# from such a day.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
scripts="$here/../../scripts"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
export FIXTURE="$here/mid-sync" CALLS="$work/calls" LAUNCHER_APT_RETRY_PAUSE=0

check() { # check WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}
has() { # has WHAT TEXT FILE: FILE holds the line TEXT
  grep -qxF -- "$2" "$3" || { printf 'FAIL %s: no line\n  %s\n' "$1" "$2"; failures=$((failures + 1)); }
}
lacks() { # lacks WHAT PATTERN FILE
  ! grep -qE -- "$2" "$3" || { printf 'FAIL %s: has %s\n' "$1" "$2"; failures=$((failures + 1)); }
}

mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$CALLS"
for last; do :; done
case " $* " in
*" update "*)
  [ "$(grep -c '^apt-get update' "$CALLS")" -gt "$UPDATE_FAILURES" ] && exit 0
  cat "$FIXTURE/update.txt"; exit 100 ;;
*" -s "*)
  file="$FIXTURE/simulated-${last%%[:=]*}.txt"
  case " $* " in *" -t "*) file="${file%.txt}-versions.txt" ;; esac
  cat "$file"
  grep -q '^E: ' "$file" && exit 100
  exit 0 ;;
*" install "*) exit "$INSTALL_STATUS" ;;
esac
EOF
cat >"$work/bin/apt-cache" <<'EOF'
#!/bin/sh
command="$1"; shift
case "$command" in
policy) awk -v asked=" $* " '/^[^ ]/ { print_it = index(asked, " " substr($0, 1, length($0) - 1) " ") }
                             print_it' "$FIXTURE/policy.txt" ;;
depends) for name; do
           case "$name" in -*) ;; *) cat "$FIXTURE/depends-${name%:i386}.txt" ;; esac
         done ;;
esac
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for last; do :; done
case "$*" in
*'${Status}'*) grep -q "^ii  ${last%:*} " "$FIXTURE/dpkg-status.txt" && printf 'install ok installed' ;;
*) cat "$FIXTURE/dpkg-status.txt" ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*
export PATH="$work/bin:$PATH"

# ensure PACKAGE...: runs ensure-packages.sh, its status in $status.
ensure() {
  : >"$CALLS"
  "$scripts/ensure-packages.sh" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

# A normal machine: what is installed costs no apt at all.
UPDATE_FAILURES=0 INSTALL_STATUS=0 ensure cmake libssl3 wine64
check "installed: status" 0 "$status"
check "installed: apt not called" "" "$(cat "$CALLS" "$work/out" "$work/err")"

# An index that fails once, then downloads: one more update, then the install.
UPDATE_FAILURES=1 INSTALL_STATUS=0 ensure cmake qemu-user-static
check "one failed update: status" 0 "$status"
check "one failed update: apt calls" "apt-get update -qq
apt-get update -qq
apt-get install -y -qq --no-install-recommends qemu-user-static" "$(cat "$CALLS")"
has "one failed update: says who installs" "installing for ensure_packages_test.sh: qemu-user-static" "$work/out"
lacks "one failed update: no report" "could not install" "$work/err"

# The mirror stays mid-sync: four updates, the install tried anyway, and a report.
UPDATE_FAILURES=99 INSTALL_STATUS=100 ensure qemu-user-static wine32:i386
check "mid-sync: apt's status" 100 "$status"
check "mid-sync: four updates, one install, no downgrade" "4 1" \
  "$(grep -c '^apt-get update' "$CALLS") $(grep -c '^apt-get install -y -qq --no-install-recommends qemu-user-static wine32:i386$' "$CALLS")"
report="$work/err"
for line in \
  "ensure-packages.sh for ensure_packages_test.sh: apt-get update failed again the same way (attempt 4 of 4)" \
  "ensure-packages.sh for ensure_packages_test.sh: going on with the package lists that did download" \
  "== ensure-packages.sh for ensure_packages_test.sh: could not install qemu-user-static wine32:i386 (apt-get install exit status 100)" \
  "  http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" \
  "  libcurl4:i386 : Depends: libssl3:i386 (>= 3.0.0) but it is not going to be installed" \
  "  (19 more such lines)" \
  "  E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." \
  "  libgstreamer-plugins-base1.0-0: amd64 1.22.0-3+deb12u7 installed; i386 1.22.0-3+deb12u6 offered" \
  "  libssl3: amd64 3.0.19-1~deb12u2 installed, 3.0.22-1~deb12u2 offered; i386 3.0.20-1~deb12u2 offered" \
  "  zlib1g: amd64 1:1.2.13.dfsg-1 installed, 1:1.2.13.dfsg-1+deb12u1 offered; i386 1:1.2.13.dfsg-1 offered" \
  "Nothing was installed, removed, pinned or downgraded: apt stopped before changing any package." \
  "  - skip the i686 stage on purpose: LAUNCHER_SKIP_I686=1 scripts/test.sh" \
  "      apt-get install --no-install-recommends -t bookworm --allow-downgrades libgstreamer-plugins-base1.0-0=1.22.0-3+deb12u6 libgstreamer-plugins-base1.0-0:i386=1.22.0-3+deb12u6 qemu-user-static wine32:i386" \
  "    apt-get -s says: 49 upgraded, 107 newly installed, 1 downgraded, 0 to remove"; do
  has "mid-sync report" "$line" "$report"
done
# The same candidate on both sides (libcurl4: the amd64 one is offered, not
# installed), libraries not needed, and debconf, which is not Multi-Arch:
# same, are no cause.
check "mid-sync: the libraries named" "libgstreamer-plugins-base1.0-0 libssl3 zlib1g" \
  "$(sed -n 's/^  \([^ ]*\): amd64 .*/\1/p' "$report" | tr '\n' ' ' | sed 's/ $//')"

# libssl3 alone goes up: no --allow-downgrades, and the package asked for
# is named once.
"$scripts/why-not-installed.sh" libssl3:i386 >"$work/report" 2>&1
check "libssl3 alone: status" 0 $?
has "libssl3 alone: the command" \
  "      apt-get install --no-install-recommends -t bookworm libssl3:i386" "$work/report"
has "libssl3 alone: an \"or\" on one line" \
  "  maven : Depends: default-jre-headless (>= 2:1.7) but it is not going to be installed or java7-runtime-headless" \
  "$work/report"

# An amd64 package: apt's reason, and no word of i386.
"$scripts/why-not-installed.sh" libssl-dev=3.0.20-1~deb12u2 >"$work/report" 2>&1
has "amd64: apt's reason" \
  "  libssl-dev : Depends: libssl3 (= 3.0.20-1~deb12u2) but 3.0.22-1~deb12u2 is to be installed" "$work/report"
lacks "amd64: nothing of i386" "i386|Multi-Arch|apt-get install " "$work/report"

[ "$failures" -eq 0 ] && echo "all passed"
