#!/usr/bin/env bash
# Draws resources/launcher.ico from resources/icon/launcher.mvg: 48, 32 and
# 16 px in 16 colours, 256 colours and 32-bit colour, plus 128 px in 32-bit.
# The 16-colour images use the standard Windows palette; the palette images
# keep a one-bit transparency mask, as older Windows expects.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh imagemagick icoutils

# /usr/local/bin may hold a wrapper around ImageMagick: use the real one.
convert=/usr/bin/convert
source=resources/icon/launcher.mvg
output=resources/launcher.ico
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# ImageMagick's policy forbids reading drawings from files (@file), so the
# commands are handed over as text, without their comment lines.
"$convert" -size 256x256 xc:none -draw "$(grep -v '^#' "$source")" \
  "$work/master.png"

palette=()
while read -r colour; do
  palette+=("xc:$colour")
done < <(grep -E '^#[0-9A-Fa-f]{6}$' resources/icon/vga16.txt)
"$convert" -size 1x1 "${palette[@]}" +append "$work/vga16.png"

images=()
for depth in 4 8 32; do
  for size in 48 32 16; do
    full="$work/full-$size.png"
    [ -f "$full" ] || "$convert" "$work/master.png" -filter Lanczos \
      -resize "${size}x${size}" -define png:color-type=6 "$full"
    out="$work/icon-$size-$depth.png"
    case $depth in
      # The palette has no transparent colour, so -remap makes every pixel
      # opaque: map the colours alone and put the mask back on afterwards.
      4) "$convert" "$full" -channel A -threshold 50% +channel \
           \( +clone -alpha off -dither None -remap "$work/vga16.png" \) +swap \
           -compose CopyOpacity -composite "PNG8:$out" ;;
      8) "$convert" "$full" -channel A -threshold 50% +channel -dither None \
           -colors 255 "PNG8:$out" ;;
      32) cp "$full" "$out" ;;
    esac
    images+=("$out")
  done
done
"$convert" "$work/master.png" -filter Lanczos -resize 128x128 \
  -define png:color-type=6 "$work/icon-128-32.png"
images+=("$work/icon-128-32.png")

icotool -c -o "$output" "${images[@]}"

# icotool picks each image's depth from its colours: make sure it got the
# ten we asked for.
expected="$(for depth in 4 8 32; do for size in 48 32 16; do
  echo "$size $depth"; done; done; echo "128 32")"
actual="$(icotool -l "$output" |
  sed -E 's/.*--width=([0-9]+).*--bit-depth=([0-9]+).*/\1 \2/')"
if [ "$actual" != "$expected" ]; then
  echo "make-icon: unexpected images in $output:" >&2
  icotool -l "$output" >&2
  exit 1
fi
icotool -l "$output"
