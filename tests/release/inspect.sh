#!/usr/bin/env bash
# Inspects a release launcher.exe without running it: a 32-bit GUI program
# for i386 that old Windows loads (subsystem 4.0), whose code holds 80386
# instructions only and no unwind tables, importing only what
# allowed_imports.txt lists from the four DLLs every Windows has, carrying
# the ten-image icon with a transparency mask in every image, the version
# record and the asInvoker manifest.
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

# --- The processor: every instruction in the code section must be one the
# 80386 has (i386_instructions.txt says why and lists them). The linker puts
# the constructor and destructor lists at the end of the code section, and
# with exceptions the unwinder's tables after them: data, not code, so the
# disassembly stops where the lists begin. An empty constructor list is a
# check of its own: no C runtime runs what would be in it.
read -r text_size text_address text_offset < <(
  "$objdump" -h "$exe" | awk '$2 == ".text" { print $3, $4, $6; exit }') || true
if [ -n "${text_size:-}" ]; then
  # The last "-1, pointers, 0" followed by "-1, 0": the two lists, 32-bit
  # little-endian; prints their offset in the section and how many pointers
  # the first holds.
  read -r lists constructors < <(
    perl -e '
      my ($file, $offset, $size) = @ARGV;
      open(my $in, "<:raw", $file) or die;
      seek($in, $offset, 0);
      read($in, my $text, $size) == $size or die;
      my ($at, $count) = (-1, 0);
      while ($text =~ /\xff{4}((?:(?!\xff{4}|\0{4})[\s\S]{4})*)\0{4}\xff{4}\0{4}/g) {
        ($at, $count) = ($-[0], length($1) / 4);
        pos($text) = $-[0] + 1;
      }
      print "$at $count\n";
    ' "$exe" "$((16#$text_offset))" "$((16#$text_size))") || true
fi
if [ "${lists:--1}" -ge 0 ]; then
  check "no static constructors" test "$constructors" = 0
  stop=(--stop-address="$((16#$text_address + lists))")
else
  fail "constructor and destructor lists at the end of the code section"
  stop=()
fi
if "$objdump" -d --no-show-raw-insn "${stop[@]}" "$exe" >"$work/code"; then
  # The mnemonic of each instruction line, after the prefixes objdump puts
  # before it ("rep stos", "lock incl", "cs nop"); "(bad)" for bytes that are
  # no instruction.
  awk -F'\t' '
    BEGIN { split("rep repz repnz lock data16 addr16 cs ds es fs gs ss", p, " ")
            for (i in p) prefix[p[i]] = 1 }
    $1 ~ /^ *[0-9a-f]+:$/ {
      n = split($2, word, " ")
      i = 1
      while (i < n && word[i] in prefix && word[i + 1] ~ /^[a-z]/) i++
      print word[i]
    }' "$work/code" >"$work/mnemonics"
  # Each list entry as a pattern: "add[bwl]" is add, addb, addw or addl.
  sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' -e 's/\(\[[a-z]*\]\)$/\1?/' \
    -e 's/.*/^&$/' "$here/i386_instructions.txt" >"$work/i386"
  outside="$(grep -cvxEf "$work/i386" "$work/mnemonics" || true)"
  message="80386 integer: $(grep -cxEf "$work/i386" "$work/mnemonics" || true), outside the set: $outside"
  if [ "$outside" = 0 ] && [ -s "$work/mnemonics" ]; then
    pass "instructions: $message"
  else
    fail "instructions: $message:"$'\n'"$(grep -vxEf "$work/i386" "$work/mnemonics" |
      sort | uniq -c | sort -rn | awk '{ printf "  %s %s\n", $2, $1 }')"
  fi
else
  fail "$objdump cannot disassemble $exe"
fi

# Unwind tables serve exceptions, which the launcher does not use. A stripped
# file keeps eight letters of a section name.
check "no .eh_frame" test -z "$(awk '$2 ~ /^\.eh_fram/' <<<"$("$objdump" -h "$exe")")"

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
# msvcrt.dll is missing from the first Windows 95; nothing but these four
# is needed.
other_dlls="$(cut -d' ' -f1 "$work/imports" | sort -uf |
  grep -vixE 'KERNEL32\.dll|USER32\.dll|GDI32\.dll|ADVAPI32\.dll' || true)"
if [ -z "$other_dlls" ]; then
  pass "imports only from KERNEL32, USER32, GDI32 and ADVAPI32"
else
  fail "imports from other DLLs: ${other_dlls//$'\n'/ }"
fi
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
