#include "encoding.h"

#include <algorithm>

namespace launchcheck {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The length of the UTF-8 sequence at the start of `text`, 0 when none
// starts there; its character in *c.
std::size_t Utf8Sequence(std::string_view text, char32_t* c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    *c = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *c = value;
  return length;
}

}  // namespace

std::string FileEncoding::Describe() const {
  if (!utf16()) return utf8_bom() ? "UTF-8 with a byte-order mark" : "8-bit text";
  return std::string("UTF-16 ") + (kind == kUtf16Le ? "little-endian" : "big-endian") +
         (bom_size > 0 ? " with a byte-order mark" : " without a byte-order mark");
}

FileEncoding DetectEncoding(std::string_view head) {
  head = head.substr(0, kEncodingHead);
  if (head.substr(0, 3) == "\xEF\xBB\xBF") return {FileEncoding::kEightBit, 3};
  if (head.substr(0, 2) == "\xFF\xFE") return {FileEncoding::kUtf16Le, 2};
  if (head.substr(0, 2) == "\xFE\xFF") return {FileEncoding::kUtf16Be, 2};
  std::size_t even = 0;
  std::size_t odd = 0;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (head[i] == '\0') ++(i % 2 == 0 ? even : odd);
  }
  // At least a quarter of the pairs: enough for text with some characters
  // beyond Latin, and far more than stray NULs in 8-bit text.
  const std::size_t pairs = head.size() / 2;
  if (odd > 4 * even && odd * 4 >= pairs && odd > 0) return {FileEncoding::kUtf16Le, 0};
  if (even > 4 * odd && even * 4 >= pairs && even > 0) return {FileEncoding::kUtf16Be, 0};
  return {};
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t c;
    const std::size_t length = Utf8Sequence(text.substr(i), &c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool IsUtf8BeyondAscii(std::string_view text) {
  return IsUtf8(text) &&
         std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string ReadInCodePage(std::string_view text, const CodePage& code_page) {
  std::string out;
  for (const char c : text) AppendUtf8(out, code_page.ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string AsUtf8(std::string_view text, const CodePage& code_page) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c;
    const std::size_t length = Utf8Sequence(text.substr(i), &c);
    if (length == 0) {
      AppendUtf8(out, code_page.ToUnicode(static_cast<unsigned char>(text[i++])));
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c;
    const std::size_t length = Utf8Sequence(text.substr(i), &c);
    out += length == 0 ? kReplacement : c;
    i += std::max<std::size_t>(length, 1);
  }
  return out;
}

std::u32string DecodeUtf16(std::string_view text, bool big_endian) {
  std::u32string out;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(text[i + 1]);
    return big_endian ? (first << 8 | second) : (second << 8 | first);
  };
  std::size_t i = 0;
  for (; i + 1 < text.size(); i += 2) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < text.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out += 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
        continue;
      }
    }
    out += c >= 0xD800 && c <= 0xDFFF ? kReplacement : c;
  }
  if (i < text.size()) out += kReplacement;  // an odd byte at the end
  return out;
}

}  // namespace launchcheck
