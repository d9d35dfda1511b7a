#include "platform/lead_bytes.h"

namespace platform {

// The walks below step from one character to the next: a byte where one
// begins is either a lead byte or a character of its own, and as a lead
// byte is never ASCII, an ASCII byte there is that character.

void LeadBytes::Add(unsigned char byte) {
  if (byte < 0x80) return;  // ASCII is the same in every code page
  set_[byte] = true;
  empty_ = false;
}

std::size_t FindCharacterInDoubleByteText(std::string_view text, char c, const LeadBytes& lead) {
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i, lead)) {
    if (text[i] == c) return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastCharacterOf(std::string_view text, std::string_view chars,
                                const LeadBytes& lead) {
  if (lead.empty()) return text.find_last_of(chars);
  // Whether a byte is a second byte shows only when walking from the start.
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i, lead)) {
    if (chars.find(text[i]) != std::string_view::npos) last = i;
  }
  return last;
}

bool EndsWithCharacter(std::string_view text, char c, const LeadBytes& lead) {
  return !text.empty() &&
         FindLastCharacterOf(text, std::string_view(&c, 1), lead) == text.size() - 1;
}

std::string_view LeadingCharacters(std::string_view text, std::size_t size, const LeadBytes& lead) {
  if (text.size() <= size) return text;
  std::size_t end = 0;
  while (end + CharacterLength(text, end, lead) <= size) end += CharacterLength(text, end, lead);
  return std::string_view(text.data(), end);
}

}  // namespace platform
