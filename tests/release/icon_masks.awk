# Reads an .ico file as decimal bytes, one a line (od -An -v -tu1 | tr),
# and prints one line for each of its images:
#   WIDTHxHEIGHT DEPTH MASK TRANSPARENT BLACK
# MASK is the AND mask, row by row from the top, "1" for each transparent
# pixel. TRANSPARENT is the same drawn from a 32-bit image's alpha channel
# (alpha below 128), "-" for a palette image. BLACK is "yes" when every
# masked pixel of a palette image has the colour black, which leaves the
# screen as it is, "no" when not; "-" for a 32-bit image, which Windows
# draws by its alpha. A PNG-compressed image, which has no AND mask, prints
# "png" for the three.
function u16(at) { return byte[at] + 256 * byte[at + 1] }
function u32(at) { return u16(at) + 65536 * u16(at + 2) }
{ byte[NR - 1] = $1 }
END {
  for (image = 0; image < u16(4); image++) {
    entry = 6 + 16 * image
    at = u32(entry + 12)
    if (byte[at] == 137 && byte[at + 1] == 80) {  # "\x89P"
      w = byte[entry]; h = byte[entry + 1]
      printf "%dx%d %d png png png\n", w ? w : 256, h ? h : 256, u16(entry + 6)
      continue
    }
    w = u32(at + 4); h = u32(at + 8) / 2; depth = u16(at + 14)
    colours = u32(at + 32)
    if (colours == 0 && depth <= 8) colours = 2 ^ depth
    palette = at + u32(at)
    xor_at = palette + 4 * colours
    xor_stride = int((w * depth + 31) / 32) * 4
    and_at = xor_at + xor_stride * h
    and_stride = int((w + 31) / 32) * 4
    mask = ""; alpha = ""; black = "yes"
    for (y = h - 1; y >= 0; y--) {  # bottom-up rows
      for (x = 0; x < w; x++) {
        bit = int(byte[and_at + y * and_stride + int(x / 8)] / 2 ^ (7 - x % 8)) % 2
        mask = mask bit
        pixel = xor_at + y * xor_stride
        if (depth == 32) {
          alpha = alpha (byte[pixel + 4 * x + 3] < 128 ? 1 : 0)
          continue
        }
        if (depth == 8) slot = byte[pixel + x]
        else if (depth == 4) {
          pair = byte[pixel + int(x / 2)]
          slot = x % 2 ? pair % 16 : int(pair / 16)
        }
        else slot = int(byte[pixel + int(x / 8)] / 2 ^ (7 - x % 8)) % 2
        colour = palette + 4 * slot
        if (bit && byte[colour] + byte[colour + 1] + byte[colour + 2] != 0) black = "no"
      }
    }
    if (depth == 32) black = "-"; else alpha = "-"
    printf "%dx%d %d %s %s %s\n", w, h, depth, mask, alpha, black
  }
}
