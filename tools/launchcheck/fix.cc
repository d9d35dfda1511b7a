#include "fix.h"

#include <algorithm>
#include <map>
#include <utility>

#include "encoding.h"
#include "ini_syntax.h"
#include "simulated_run.h"

namespace launchcheck {
namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string CodePoint(char32_t c) {
  const char* const digits = "0123456789ABCDEF";
  std::string hex;
  for (; c != 0 || hex.size() < 4; c >>= 4) hex.insert(hex.begin(), digits[c & 0xF]);
  return "U+" + hex;
}

struct Line {
  std::string text;
  std::string end;  // "\r\n", "\r", "\n", or "" for a last line without one
};

// `chars` as bytes of `code_page`, each line that had characters beyond
// ASCII noted as converted from `from`.
std::string Convert(const std::u32string& chars, const CodePage& code_page, const std::string& from,
                    FixedFile& fixed) {
  std::string bytes;
  int line = 1;
  bool beyond_ascii = false;  // on this line
  bool refused = false;       // this line has been reported as unconvertible
  for (size_t i = 0; i <= chars.size(); ++i) {
    const bool line_ends = i == chars.size() || chars[i] == '\n' ||
                           (chars[i] == '\r' && (i + 1 == chars.size() || chars[i + 1] != '\n'));
    if (i < chars.size()) {
      const char32_t c = chars[i];
      if (const std::optional<char> byte = code_page.FromUnicode(c)) {
        bytes += *byte;
      } else if (!refused) {
        std::string shown;
        AppendUtf8(shown, c);
        fixed.unconvertible.push_back(
            {line, "\"" + shown + "\" (" + CodePoint(c) + ") has no form in " + code_page.Name()});
        refused = true;
      }
      beyond_ascii |= c >= 0x80;
    }
    if (!line_ends) continue;
    if (beyond_ascii && !from.empty()) {
      fixed.changes.push_back({line, "converted from " + from + " to " + code_page.Name()});
    }
    ++line;
    beyond_ascii = refused = false;
  }
  return bytes;
}

// Lines as an editor shows them: each ends at CR LF, CR or a lone LF.
std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", begin);
    Line line{std::string(bytes.substr(begin, end - begin)), ""};
    if (end == bytes.npos) {
      lines.push_back(std::move(line));
      break;
    }
    line.end = bytes.substr(end, bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    begin = end + line.end.size();
    lines.push_back(std::move(line));
  }
  return lines;
}

// Gives every line CR LF; reports runs of lines that had another end.
void EndLinesWithCrLf(std::vector<Line>& lines, FixedFile& fixed) {
  for (size_t i = 0; i < lines.size();) {
    const std::string end = lines[i].end;
    size_t j = i;
    while (j < lines.size() && lines[j].end == end) lines[j++].end = end.empty() ? "" : "\r\n";
    if (end == "\n" || end == "\r") {
      const std::string what = end == "\n" ? "lone line feed" : "carriage return without line feed";
      fixed.changes.push_back({static_cast<int>(i + 1),
                               j - i == 1 ? what + " made CR LF"
                                          : what + "s made CR LF, lines " + std::to_string(i + 1) +
                                                " to " + std::to_string(j)});
    }
    i = j;
  }
}

// Removes the blanks that stop a header or a key from matching, unless the
// entry it then gives is one the launcher already reads elsewhere.
class BlankFixer {
 public:
  BlankFixer(std::vector<Line>& lines, FixedFile& fixed) : lines_(lines), fixed_(fixed) {
    // What the launcher reads now, before any fix.
    Walk([this](size_t i, const std::string& section) {
      const std::string& text = lines_[i].text;
      const size_t equals = text.find('=');
      if (equals == 0 || equals == text.npos) return;
      if (IsBlank(text.front()) || IsBlank(text[equals - 1])) return;
      read_.emplace(std::make_pair(section, AsciiLower(text.substr(0, equals))), i + 1);
    });
  }

  void Fix() {
    for (size_t i = 0; i < lines_.size(); ++i) {
      std::string& text = lines_[i].text;
      if (text.find('[') != text.npos) {
        section_.clear();
        const std::string trimmed = Trim(text);
        if (!IsBracketed(trimmed)) continue;
        const std::string name = Trim(trimmed.substr(1, trimmed.size() - 2));
        if (!IsReadSection(AsciiLower(name))) continue;
        const std::string header = "[" + name + "]";
        if (header != text && !Conflict(i, AsciiLower(name), KeysAfter(i))) {
          Change(i, header);
        }
        if (header == text) section_ = AsciiLower(name);
        continue;
      }
      const size_t equals = text.find('=');
      if (section_.empty() || equals == text.npos || equals == 0) continue;
      const std::string key = Trim(text.substr(0, equals));
      const std::string lower_key = AsciiLower(key);
      if (key == text.substr(0, equals)) {  // read as it is, also in a mended section
        read_.emplace(std::make_pair(section_, lower_key), i + 1);
        continue;
      }
      if (key.empty() || !IsLookedUpKey(lower_key) || Conflict(i, section_, {lower_key})) continue;
      std::string value = text.substr(equals + 1);
      // "11 = a.exe": the blanks around "=" are one spelling of it.
      if (IsBlank(text[equals - 1])) value.erase(0, value.find_first_not_of(" \t"));
      read_.emplace(std::make_pair(section_, lower_key), i + 1);
      Change(i, key + "=" + value);
    }
  }

 private:
  // Calls `entry` with each line in a section that is read, and its section.
  template <typename Entry>
  void Walk(Entry entry) {
    std::string section;
    for (size_t i = 0; i < lines_.size(); ++i) {
      const std::string& text = lines_[i].text;
      if (text.find('[') != text.npos) {
        const std::string lower = AsciiLower(text);
        section = IsBracketed(lower) && IsReadSection(lower.substr(1, lower.size() - 2))
                      ? lower.substr(1, lower.size() - 2)
                      : "";
      } else if (!section.empty()) {
        entry(i, section);
      }
    }
  }

  // The keys of the lines after the header at `header`, up to the next "[".
  std::vector<std::string> KeysAfter(size_t header) const {
    std::vector<std::string> keys;
    for (size_t i = header + 1; i < lines_.size(); ++i) {
      const std::string& text = lines_[i].text;
      if (text.find('[') != text.npos) break;
      const size_t equals = text.find('=');
      if (equals == text.npos) continue;
      const std::string key = AsciiLower(Trim(text.substr(0, equals)));
      if (IsLookedUpKey(key)) keys.push_back(key);
    }
    return keys;
  }

  bool Conflict(size_t i, const std::string& section, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
      const auto found = read_.find({section, key});
      if (found == read_.end()) continue;
      fixed_.changes.push_back(
          {static_cast<int>(i + 1), "left as it is: fixed, it would change the entry for key " +
                                        Quoted(key) + " that the launcher reads at line " +
                                        std::to_string(found->second)});
      return true;
    }
    return false;
  }

  void Change(size_t i, const std::string& text) {
    fixed_.changes.push_back(
        {static_cast<int>(i + 1), Quoted(lines_[i].text) + " made " + Quoted(text)});
    lines_[i].text = text;
  }

  std::vector<Line>& lines_;
  FixedFile& fixed_;
  std::string section_;  // lower case; empty: none that is read
  std::map<std::pair<std::string, std::string>, size_t> read_;  // (section, key): line
};

}  // namespace

FixedFile FixLaunchIni(std::string_view original, const CodePage& code_page) {
  FixedFile fixed;
  const FileEncoding encoding = DetectEncoding(original);
  const std::string_view body = original.substr(encoding.bom_size);
  std::string bytes(body);
  if (encoding.utf16()) {
    fixed.changes.push_back({1, encoding.Describe() + " converted to " + code_page.Name()});
    std::u32string chars = DecodeUtf16(body, encoding.kind == FileEncoding::kUtf16Be);
    // A second mark, left by an editor that converted a file with one.
    if (!chars.empty() && chars.front() == 0xFEFF) chars.erase(0, 1);
    bytes = Convert(chars, code_page, "", fixed);
  } else {
    if (encoding.utf8_bom()) fixed.changes.push_back({1, "UTF-8 byte-order mark removed"});
    // Bytes that are not UTF-8 throughout are already in the code page.
    if (IsUtf8BeyondAscii(body)) bytes = Convert(DecodeUtf8(body), code_page, "UTF-8", fixed);
  }
  if (!fixed.unconvertible.empty()) return fixed;
  std::vector<Line> lines = SplitLines(bytes);
  EndLinesWithCrLf(lines, fixed);
  BlankFixer(lines, fixed).Fix();
  for (const Line& line : lines) fixed.bytes += line.text + line.end;
  std::stable_sort(fixed.changes.begin(), fixed.changes.end(),
                   [](const FixNote& a, const FixNote& b) { return a.line < b.line; });
  return fixed;
}

}  // namespace launchcheck
