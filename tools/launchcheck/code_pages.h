#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_CODE_PAGES_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_CODE_PAGES_H_

#include <optional>
#include <string>

namespace launchcheck {

// A single-byte Windows code page, the kind a system code page is on the
// hosts that launch.ini is written for: ASCII below 0x80, a table above.
class CodePage {
 public:
  CodePage(int number, const char16_t* high) : number_(number), high_(high) {}

  int number() const { return number_; }
  std::string Name() const { return "Windows-" + std::to_string(number_); }

  char32_t ToUnicode(unsigned char byte) const { return byte < 0x80 ? byte : high_[byte - 0x80]; }

  // The byte for `c`; none when the code page has no such character.
  std::optional<char> FromUnicode(char32_t c) const;

 private:
  int number_;
  const char16_t* high_;  // bytes 0x80 to 0xFF
};

inline constexpr int kDefaultCodePage = 1252;

// The code page `number`, or null when it is not one of SupportedCodePages().
const CodePage* FindCodePage(int number);

// "1250, 1251, ...".
std::string SupportedCodePages();

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_CODE_PAGES_H_
