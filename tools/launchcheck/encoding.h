#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_ENCODING_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_ENCODING_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "code_pages.h"

namespace launchcheck {

// How an editor saved launch.ini, as far as its bytes tell. The launcher
// reads every file as 8-bit text in the system code page.
struct FileEncoding {
  enum Kind { kEightBit, kUtf16Le, kUtf16Be };
  Kind kind = kEightBit;
  std::size_t bom_size = 0;  // 3 for UTF-8's byte-order mark, 2 for UTF-16's

  bool utf16() const { return kind != kEightBit; }
  bool utf8_bom() const { return kind == kEightBit && bom_size == 3; }
  // "UTF-16 little-endian with a byte-order mark", ...
  std::string Describe() const;
};

// How many bytes of a file DetectEncoding wants to see.
inline constexpr std::size_t kEncodingHead = 4096;

// Tells UTF-16 by its byte-order mark or, without one, by NUL bytes that
// fall mostly on odd (little-endian) or even (big-endian) offsets: ASCII
// text in UTF-16 has one in every pair, 8-bit text has none. `head` is the
// start of the file.
FileEncoding DetectEncoding(std::string_view head);

// Valid UTF-8 with at least one character beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view text);

// False when `text` holds a byte sequence that UTF-8 does not allow.
bool IsUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t c);

// `text` as UTF-8, every byte read in `code_page`: what the launcher sees.
std::string ReadInCodePage(std::string_view text, const CodePage& code_page);

// `text` as UTF-8: its valid UTF-8 sequences kept, every other byte read in
// `code_page`. For texts that mix the file's bytes with native paths.
std::string AsUtf8(std::string_view text, const CodePage& code_page);

// The characters of UTF-8 or UTF-16 `text`; a sequence that does not decode
// gives U+FFFD.
std::u32string DecodeUtf8(std::string_view text);
std::u32string DecodeUtf16(std::string_view text, bool big_endian);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_ENCODING_H_
