#!/usr/bin/env bash
# Inspects a release launcher.exe without running it: a 32-bit GUI program
# for i386 that old Windows loads (subsystem 4.0), importing only what
# allowed_imports.txt lists, carrying the ten-image icon with a transparency
# mask in every image, the version record and the asInvoker manifest; and
# counts the instructions that need an i686 processor.
# Usage: inspect.sh path/to/launcher.exe
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
exe="${1:?usage: inspect.sh launcher.exe}"
objdump=i686-w64-mingw32-objdump
failures=0

pass() { echo "ok: $1"; }
fail() {
  echo "FAILED: $1" >&2
  failures=$((failures + 1))
}
# check NAME COMMAND...: records whether COMMAND succeeds.
check() {
  local name="$1"
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$objdump" -f "$exe" >"$work/header" || fail "$objdump cannot read $exe"
"$objdump" -p "$exe" >"$work/private" || true

# --- The file format ---
check "PE32 for i386" grep -q 'file format pei-i386' "$work/header"
check "architecture i386" grep -q '^architecture: i386,' "$work/header"
check "PE32 magic" grep -qE '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' "$work/private"
check "GUI subsystem" grep -qE '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' \
  "$work/private"
field() { awk -v name="$1" '$1 == name { print $2; exit }' "$work/private"; }
check "subsystem version 4.0" \
  test "$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)" = "4.0"

# --- The processor: CMOV, FCMOV and FCOMI/FUCOMI came with the Pentium Pro
# (i686). A Pentium, Pentium MMX, K6 or early VIA processor stops at the
# first one it runs. The compiler and its runtime libraries use them, so they
# are counted, not refused (docs/verification.md). The count is of the whole
# code section, whose exception tables may decode as one more.
if "$objdump" -d --no-show-raw-insn "$exe" >"$work/code"; then
  i686_only="$(grep -cE $'\t(cmov|fcmov|fu?comip?\\b)' "$work/code" || true)"
  pass "instructions a Pentium (i586) lacks: $i686_only (CMOV, FCMOV, FCOMI, FUCOMI)"
else
  fail "$objdump cannot disassemble $exe"
fi

# --- The imports: "DLL FUNCTION" a line, DLL names as the file spells them ---
awk '
  /^[[:space:]]*DLL Name:/ { dll = $3; next }
  /^[[:space:]]*$/ { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll, $3 }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF == 2 { print dll, "ordinal:" $2 }
' "$work/private" | sort -u >"$work/imports"
sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$here/allowed_imports.txt" | grep -v '^$' |
  awk '{ print $1, $2 }' | sort -u >"$work/allowed"
check "imports found" test -s "$work/imports"
unexpected="$(comm -23 "$work/imports" "$work/allowed")"
if [ -z "$unexpected" ]; then
  pass "imports all in allowed_imports.txt ($(wc -l <"$work/imports") functions)"
else
  fail "imports not in allowed_imports.txt:"$'\n'"$unexpected"
fi

# --- The icon: the committed one, ten images ---
if wrestool -x -t 14 "$exe" >"$work/icon.ico" 2>/dev/null && [ -s "$work/icon.ico" ]; then
  icotool -l "$work/icon.ico" |
    sed -E 's/.*--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+).*/\1x\2 \3/' \
      >"$work/images"
  expected_images="48x48 4
32x32 4
16x16 4
48x48 8
32x32 8
16x16 8
48x48 32
32x32 32
16x16 32
128x128 32"
  check "icon has the ten images" test "$(cat "$work/images")" = "$expected_images"
  # 16- and 256-colour displays draw an image by its AND mask: an empty one
  # draws the corners as whatever colour lies under them.
  od -An -v -tu1 "$work/icon.ico" | tr -s ' ' '\n' | grep -v '^$' |
    awk -f "$here/icon_masks.awk" >"$work/masks"
  check "every icon image has a transparency mask" awk '
    $3 != "png" && $3 !~ /1/ { print "  empty mask: " $1 ", " $2 " bits" >"/dev/stderr"; bad = 1 }
    END { exit bad }' "$work/masks"
  check "each mask follows the 32-bit image of its size" awk '
    $2 == 32 { transparent[$1] = $4 }
    { size[NR] = $1; depth[NR] = $2; mask[NR] = $3 }
    END {
      for (i = 1; i <= NR; i++) if (mask[i] != "png" && mask[i] != transparent[size[i]]) {
        print "  mask differs: " size[i] ", " depth[i] " bits" >"/dev/stderr"; bad = 1
      }
      exit bad
    }' "$work/masks"
  check "masked pixels of the palette images are black" awk '
    $5 == "no" { print "  not black: " $1 ", " $2 " bits" >"/dev/stderr"; bad = 1 }
    END { exit bad }' "$work/masks"
else
  fail "icon group resource"
fi

# --- The version record ---
wrestool -x --raw -t 16 "$exe" >"$work/version" 2>/dev/null || true
check "version resource" test -s "$work/version"
hex="$(od -An -tx1 -v "$work/version" | tr -d ' \n')"
# VS_FIXEDFILEINFO: signature, structure version, then file and product
# version as two little-endian DWORDs each: 1.0.0.0 is 00000100 00000000.
check "file and product version 1.0.0.0" \
  grep -q 'bd04effe0000010000000100000000000000010000000000' <<<"$hex"
# Strings are UTF-16LE: search the text with every other byte dropped.
text="$(tr -d '\0' <"$work/version")"
check "FileVersion \"1.00\"" grep -qa 'FileVersion1\.00' <<<"$text"
check "ProductVersion \"1.00\"" grep -qa 'ProductVersion1\.00' <<<"$text"
check "US English, code page 1252 strings" grep -qa '040904E4' <<<"$text"
# "Translation" in UTF-16LE, its terminator and padding, then 0x0409, 1252.
translation="$(printf 'Translation' | od -An -tx1 -v | tr -d ' \n' | sed 's/../&00/g')"
check "translation 0x0409, 1252" grep -qE "${translation}(00)+0904e404" <<<"$hex"

# --- The manifest ---
wrestool -x --raw -t 24 -n 1 "$exe" >"$work/manifest.xml" 2>/dev/null || true
check "manifest resource 24/1" test -s "$work/manifest.xml"
check "manifest is well-formed XML" xmllint --noout "$work/manifest.xml"
check "manifest asks for asInvoker" \
  grep -qE '<requestedExecutionLevel +level="asInvoker" +uiAccess="false" */>' "$work/manifest.xml"
check "manifest in the form XP accepts" test "$(
  xmllint --xpath 'count(/*[local-name()="assembly" and @manifestVersion="1.0"]
    /*[local-name()="assemblyIdentity"])' "$work/manifest.xml")" = 1
check "asInvoker inside asm.v3 trustInfo" test "$(
  xmllint --xpath 'count(//*[local-name()="trustInfo"
    and namespace-uri()="urn:schemas-microsoft-com:asm.v3"]/*[local-name()="security"]
    /*[local-name()="requestedPrivileges"]/*[local-name()="requestedExecutionLevel"])' \
    "$work/manifest.xml")" = 1

if [ "$failures" -ne 0 ]; then
  echo "$exe: $failures check(s) failed" >&2
  exit 1
fi
echo "$exe: every check passed"
