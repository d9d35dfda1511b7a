#ifndef LAUNCHER_PLATFORM_LEAD_BYTES_H_
#define LAUNCHER_PLATFORM_LEAD_BYTES_H_

#include <bitset>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace platform {

// The bytes that begin a double-byte character in the system code page
// (the Japanese, Chinese and Korean ones): such a byte and the byte after it
// are one character, whose second byte may well be "[", "\" or a letter.
// Empty for a single-byte code page, where every byte is a character.
class LeadBytes {
 public:
  bool empty() const { return empty_; }
  bool contains(unsigned char byte) const { return set_[byte]; }
  // Bytes below 0x80 are ASCII in every code page, never lead bytes: adding
  // one does nothing.
  void Add(unsigned char byte);

 private:
  std::bitset<256> set_;
  bool empty_ = true;
};

// The length of the character that begins at text[i]: 2 for a lead byte
// with a byte after it, else 1.
inline std::size_t CharacterLength(std::string_view text, std::size_t i, const LeadBytes& lead) {
  return lead.contains(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

std::size_t FindCharacterInDoubleByteText(std::string_view text, char c, const LeadBytes& lead);

// Where the first character `c` (ASCII) stands in `text`, the second byte
// of a double-byte character not counting; npos when there is none.
inline std::size_t FindCharacter(std::string_view text, char c, const LeadBytes& lead) {
  if (!lead.empty()) return FindCharacterInDoubleByteText(text, c, lead);
  const void* found = std::memchr(text.data(), c, text.size());
  return found != nullptr ? static_cast<const char*>(found) - text.data() : std::string_view::npos;
}

// Where the last character that is one of `chars` (ASCII) stands in
// `text`, the second byte of a double-byte character not counting; npos
// when there is none.
std::size_t FindLastCharacterOf(std::string_view text, std::string_view chars,
                                const LeadBytes& lead);

// True when the last character of `text` is `c` (ASCII), not the second
// byte of a double-byte character.
bool EndsWithCharacter(std::string_view text, char c, const LeadBytes& lead);

// The longest beginning of `text` of at most `size` bytes that ends between
// two characters, for showing the start of a long text.
std::string_view LeadingCharacters(std::string_view text, std::size_t size,
                                   const LeadBytes& lead);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_LEAD_BYTES_H_
