#include "ini_syntax.h"

#include <algorithm>

#include "platform/number_text.h"

namespace launchcheck {

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

bool IsBracketed(std::string_view text) {
  return text.size() >= 2 && text.front() == '[' && text.back() == ']' &&
         std::count(text.begin(), text.end(), '[') == 1 &&
         std::count(text.begin(), text.end(), ']') == 1;
}

bool IsReadSection(const std::string& lower_name) {
  for (const char* label : {"win98", "winme", "winnt", "win2k", "winxp", "winvista", "default"}) {
    if (lower_name == std::string(label) + kSectionSuffix) return true;
  }
  return false;
}

bool IsLookedUpKey(const std::string& lower_key) {
  return lower_key == "default" || platform::CheckNumberText(lower_key).ok();
}

}  // namespace launchcheck
