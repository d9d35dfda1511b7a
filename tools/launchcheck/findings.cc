#include "findings.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "ini_syntax.h"
#include "launcher/command_line.h"
#include "platform/line_reader.h"
#include "platform/simulated/start_limits.h"
#include "simulated_run.h"

namespace launchcheck {
namespace {

constexpr char kLabelList[] = "win98, winme, winnt, win2k, winxp, winvista, default";

class Linter {
 public:
  Linter(platform::Host& host, const LintSetting& setting) : host_(host), setting_(setting) {}

  void Line(std::string_view line, int number, int last_number) {
    const bool after_mark = number == 1 && setting_.encoding.utf8_bom();
    if (after_mark) {
      line.remove_prefix(std::min(line.size(), setting_.encoding.bom_size));
      ByteOrderMark(line);
    }
    if (!IsUtf8(line)) all_utf8_ = false;
    if (last_number > number) {
      Add(number, "lone-line-feed",
          "lone line feed: the launcher reads lines " + std::to_string(number) + " to " +
              std::to_string(last_number) + " as one line (only a carriage return ends a line)");
    } else if (!line.empty() && line.back() == '\n') {
      Add(number, "lone-line-feed",
          "lone line feed at the end of the file: the launcher reads it as part of the line");
    }
    if (line.find('[') != std::string_view::npos) {
      Bracket(line, number);
      // The mark keeps even a good header from matching.
      if (after_mark && state_ == State::kRead) {
        state_ = State::kClosed;
        closed_at_ = 1;
      }
      return;
    }
    switch (state_) {
      case State::kBeforeHeader:
        if (!Trim(line).empty()) Add(number, "before-header", "before any header: ignored");
        break;
      case State::kClosed:
        if (!Trim(line).empty()) {
          Add(number, "closed-section",
              "ignored: the section was closed at line " + std::to_string(closed_at_));
        }
        break;
      case State::kUnread:
        break;
      case State::kRead:
        Entry(line, number);
        if (IsUtf8BeyondAscii(line)) Utf8Text(line, number);
        break;
    }
  }

  LintResult Result() && {
    // Text that is UTF-8 throughout was written as UTF-8; in a file that is
    // not, such bytes are most likely meant in the code page.
    if (all_utf8_) {
      result_.findings.insert(result_.findings.end(), utf8_findings_.begin(), utf8_findings_.end());
    }
    std::stable_sort(result_.findings.begin(), result_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(result_);
  }

  LintResult& result() { return result_; }

 private:
  enum class State { kBeforeHeader, kRead, kUnread, kClosed };

  void Add(int line, const char* kind, std::string message) {
    result_.findings.push_back({line, kind, std::move(message)});
  }

  std::string Lower(std::string_view text) { return host_.LowerCase(text); }

  void ByteOrderMark(std::string_view line) {
    const bool header = IsBracketed(line) && IsReadSection(Lower(line.substr(1, line.size() - 2)));
    Add(1, "utf8-bom",
        "UTF-8 byte-order mark (the file was saved as \"UTF-8 with BOM\"): the launcher reads its "
        "three bytes as part of line 1" +
            (header ? ", so " + Escaped(std::string(line)) +
                          " there is not a header and the lines up to the next header are ignored"
                    : std::string("; harmless here, as line 1 is not a header that is read")));
  }

  void Utf8Text(std::string_view line, int number) {
    const std::string text(line);
    utf8_findings_.push_back(
        {number, "utf8-text",
         "UTF-8 text beyond ASCII: " + Quoted(text) + " reads " +
             Quoted(ReadInCodePage(text, *setting_.code_page)) + " in " +
             setting_.code_page->Name() +
             ", the system code page assumed (see --codepage); the launcher compares those bytes, "
             "so a key may not match and a program may not be found"});
  }

  // The limits of CreateProcessA, which refuses to start what exceeds them.
  void StartLimits(const checker::ResolvedCommand& command, int number, bool is_default_entry) {
    const std::string then =
        is_default_entry ? "" : ", and the launcher starts the default entry instead";
    if (command.program.size() >= platform::kMaxPath) {
      Add(number, "path-too-long",
          "the program's path is " + std::to_string(command.program.size()) +
              " characters: Windows starts none longer than " +
              std::to_string(platform::kMaxPath - 1) +
              " (MAX_PATH, 260 with the terminating NUL, on every Windows)" + then);
    } else if (command.command_line.size() >= platform::kMaxCommandLine) {
      Add(number, "command-line-too-long",
          "the command line (the program's path in quotes and the arguments) is " +
              std::to_string(command.command_line.size()) +
              " characters: CreateProcessA takes none longer than " +
              std::to_string(platform::kMaxCommandLine - 1) +
              " (32767 with the terminating NUL, as documented for Windows NT and later; "
              "assumed for Windows 95/98/ME, for which no limit is documented)" +
              then);
    }
  }

  void Bracket(std::string_view line, int number) {
    if (IsBracketed(line)) {
      const std::string name(line.substr(1, line.size() - 2));
      const std::string lower = Lower(name);
      state_ = State::kUnread;
      if (IsReadSection(lower)) {
        state_ = State::kRead;
        section_ = lower;
      } else if (IsReadSection(Lower(Trim(name)))) {
        Add(number, "header-blanks",
            "header with blanks: [" + Escaped(name) + "] is not [" + Escaped(Trim(name)) +
                "], so this section is never read");
      } else if (lower == std::string("win95") + kSectionSuffix) {
        Add(number, "unread-section",
            "section [" + Escaped(name) +
                "] is never read: no host is labelled win95 (Windows 95 reads "
                "[winntLaunchFiles])");
      } else if (lower.size() > sizeof(kSectionSuffix) - 1 &&
                 lower.compare(lower.size() - (sizeof(kSectionSuffix) - 1), lower.npos,
                               kSectionSuffix) == 0) {
        Add(number, "unread-section",
            "section [" + Escaped(name) + "] is never read: \"" +
                Escaped(name.substr(0, name.size() - (sizeof(kSectionSuffix) - 1))) +
                "\" is not a host label (" + kLabelList + ")");
      } else {
        Add(number, "unread-section",
            "section [" + Escaped(name) +
                "] is never read: a section is a host label followed by LaunchFiles");
      }
      return;
    }
    state_ = State::kClosed;
    closed_at_ = number;
    const size_t equals = line.find('=');
    if (IsBracketed(Trim(line))) {
      Add(number, "header-blanks",
          "header with blanks: not a header, so it closes the section and the lines up "
          "to the next header are ignored");
    } else if (equals != line.npos && equals < line.find('[')) {
      Add(number, "bracket-closes-section",
          "a \"[\" in the value closes the section: this entry and the lines up to the "
          "next header are ignored");
    } else {
      Add(number, "bracket-closes-section",
          "not a header, but its \"[\" closes the section: the lines up to the next "
          "header are ignored");
    }
  }

  void Entry(std::string_view line, int number) {
    if (Trim(line).empty()) return;
    const size_t equals = line.find('=');
    if (equals == line.npos) {
      Add(number, "not-an-entry", "not an entry (no \"=\"): ignored; launch.ini has no comments");
      return;
    }
    const std::string key(line.substr(0, equals));
    const std::string value(line.substr(equals + 1));
    if (key.empty()) {
      Add(number, "not-an-entry", "no key before \"=\": ignored");
      return;
    }
    if (IsBlank(key.front())) {
      Add(number, "blank-before-key", "blank before the key: this line never matches");
      return;
    }
    if (IsBlank(key.back())) {
      Add(number, "blank-before-equals", "blank before \"=\": this line never matches");
      return;
    }
    const std::string lower_key = Lower(key);
    const bool in_default_section = section_ == std::string("default") + kSectionSuffix;
    if (lower_key == "default") {
      if (!in_default_section) {
        Add(number, "default-elsewhere",
            "the key default is read only in [defaultLaunchFiles]: this line is never used");
        return;
      }
    } else if (!IsLookedUpKey(lower_key)) {
      Add(number, "odd-key",
          "key " + Quoted(key) +
              " is neither an Office version number nor \"default\": never looked up");
      return;
    } else {
      Mention(key);
    }
    const auto [first, inserted] =
        first_entries_.emplace(std::make_pair(section_, lower_key), number);
    if (!inserted) {
      Add(number, "duplicate",
          "hidden by line " + std::to_string(first->second) + ", the first entry for key " +
              Quoted(key) + " in this section: never used");
      return;
    }
    const bool is_default_entry = in_default_section && lower_key == "default";
    if (is_default_entry) result_.default_entry_line = number;
    if (value.empty()) {
      Add(number, "empty-value",
          is_default_entry ? "empty default entry"
                           : "empty value: the launcher uses the default entry instead");
      return;
    }
    if (IsBlank(value.front())) {
      Add(number, "blank-after-equals",
          "blank after \"=\": it is part of the value " + Quoted(value));
    }
    const platform::Result<checker::ResolvedCommand> command =
        checker::ResolveCommand(host_, setting_.directory, value);
    if (command.ok()) {
      StartLimits(*command, number, is_default_entry);
    } else {
      Add(number, "no-program",
          "no program: " + Quoted(value) + " names no file under " + setting_.shown_directory);
    }
  }

  void Mention(const std::string& key) {
    if (!mentioned_.insert(key).second) return;
    bool is_number = false;
    if (host_.CheckNumber(key).ok()) {
      const double number = std::strtod(key.c_str(), nullptr);
      is_number = number >= -2147483648.0 && number <= 2147483647.0 &&
                  std::to_string(static_cast<std::int32_t>(number)) == key;
    }
    result_.versions.push_back({key, is_number});
  }

  platform::Host& host_;
  const LintSetting& setting_;
  bool all_utf8_ = true;
  std::vector<Finding> utf8_findings_;
  State state_ = State::kBeforeHeader;
  std::string section_;
  int closed_at_ = 0;
  std::map<std::pair<std::string, std::string>, int> first_entries_;
  std::set<std::string> mentioned_;
  LintResult result_;
};

// Hands each line of `path` to `linter`, numbered as an editor numbers them.
platform::Status LintLines(platform::Host& host, const std::string& path, Linter& linter) {
  platform::Result<std::unique_ptr<platform::TextInput>> input = host.OpenTextInput(path);
  if (!input.ok()) return input.TakeFailure();
  platform::LineReader reader(
      [&input](char* buffer, size_t size) { return (*input)->Read(buffer, size); });
  int number = 1;
  for (;;) {
    platform::Result<bool> at_end = reader.AtEnd();
    if (!at_end.ok()) return at_end.TakeFailure();
    if (*at_end) return {};
    platform::Result<std::string_view> read = reader.ReadLine();
    if (!read.ok()) return read.TakeFailure();
    const std::string line(*read);  // the view ends at the next call
    int line_feeds = static_cast<int>(std::count(line.begin(), line.end(), '\n'));
    // A line feed that ends the file starts no line of its own.
    if (!line.empty() && line.back() == '\n') {
      at_end = reader.AtEnd();
      if (!at_end.ok()) return at_end.TakeFailure();
      if (*at_end) --line_feeds;
    }
    linter.Line(line, number, number + line_feeds);
    number += 1 + line_feeds;
  }
}

}  // namespace

LintResult LintLaunchIni(platform::Host& host, const LintSetting& setting) {
  Linter linter(host, setting);
  if (setting.encoding.utf16()) {
    // Every line holds NULs and starts with one: nothing the launcher looks
    // for can match, and the lines' own faults do not matter yet.
    LintResult result;
    result.readable = true;
    result.findings.push_back(
        {1, "utf16",
         setting.encoding.Describe() +
             " (\"Unicode\" to Windows editors): the launcher reads 8-bit text in the system "
             "code page and finds no header and no entry in it; save it as ANSI, or convert it "
             "with --fix"});
    return result;
  }
  const platform::Status read = LintLines(host, setting.config_path, linter);
  if (read.ok()) {
    linter.result().readable = true;
  } else {
    linter.result().findings.push_back(
        {0, "unreadable", "cannot be read: " + DescribeFailure(read.failure())});
  }
  return std::move(linter).Result();
}

}  // namespace launchcheck
