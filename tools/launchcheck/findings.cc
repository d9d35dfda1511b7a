#include "findings.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "launcher/command_line.h"
#include "simulated_run.h"

namespace launchcheck {
namespace {

constexpr const char* kLabels[] = {"win98", "winme",    "winnt",  "win2k",
                                   "winxp", "winvista", "default"};
constexpr char kLabelList[] = "win98, winme, winnt, win2k, winxp, winvista, default";
constexpr char kSuffix[] = "launchfiles";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

// "[" name "]" with no other bracket.
bool IsBracketed(std::string_view text) {
  return text.size() >= 2 && text.front() == '[' && text.back() == ']' &&
         std::count(text.begin(), text.end(), '[') == 1 &&
         std::count(text.begin(), text.end(), ']') == 1;
}

class Linter {
 public:
  Linter(platform::Host& host, std::string directory, std::string shown_directory)
      : host_(host),
        directory_(std::move(directory)),
        shown_directory_(std::move(shown_directory)) {}

  void Line(std::string_view line, int number, int last_number) {
    if (last_number > number) {
      Add(number, "lone line feed: the launcher reads lines " + std::to_string(number) + " to " +
                      std::to_string(last_number) +
                      " as one line (only a carriage return ends a line)");
    } else if (!line.empty() && line.back() == '\n') {
      Add(number,
          "lone line feed at the end of the file: the launcher reads it as part of the line");
    }
    if (line.find('[') != std::string_view::npos) {
      Bracket(line, number);
      return;
    }
    switch (state_) {
      case State::kBeforeHeader:
        if (!Trim(line).empty()) Add(number, "before any header: ignored");
        break;
      case State::kClosed:
        if (!Trim(line).empty()) {
          Add(number, "ignored: the section was closed at line " + std::to_string(closed_at_));
        }
        break;
      case State::kUnread:
        break;
      case State::kRead:
        Entry(line, number);
        break;
    }
  }

  LintResult Result() && { return std::move(result_); }

  LintResult& result() { return result_; }

 private:
  enum class State { kBeforeHeader, kRead, kUnread, kClosed };

  void Add(int line, std::string message) {
    result_.findings.push_back({line, std::move(message)});
  }

  std::string Lower(std::string_view text) { return host_.LowerCase(std::string(text)); }

  static bool IsReadSection(const std::string& lower_name) {
    for (const char* label : kLabels) {
      if (lower_name == std::string(label) + kSuffix) return true;
    }
    return false;
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
        Add(number, "header with blanks: [" + Escaped(name) + "] is not [" + Escaped(Trim(name)) +
                        "], so this section is never read");
      } else if (lower == std::string("win95") + kSuffix) {
        Add(number, "section [" + Escaped(name) +
                        "] is never read: no host is labelled win95 (Windows 95 reads "
                        "[winntLaunchFiles])");
      } else if (lower.size() > sizeof(kSuffix) - 1 &&
                 lower.compare(lower.size() - (sizeof(kSuffix) - 1), lower.npos, kSuffix) == 0) {
        Add(number, "section [" + Escaped(name) + "] is never read: \"" +
                        Escaped(name.substr(0, name.size() - (sizeof(kSuffix) - 1))) +
                        "\" is not a host label (" + kLabelList + ")");
      } else {
        Add(number, "section [" + Escaped(name) +
                        "] is never read: a section is a host label followed by LaunchFiles");
      }
      return;
    }
    state_ = State::kClosed;
    closed_at_ = number;
    const size_t equals = line.find('=');
    if (IsBracketed(Trim(line))) {
      Add(number,
          "header with blanks: not a header, so it closes the section and the lines up "
          "to the next header are ignored");
    } else if (equals != line.npos && equals < line.find('[')) {
      Add(number,
          "a \"[\" in the value closes the section: this entry and the lines up to the "
          "next header are ignored");
    } else {
      Add(number,
          "not a header, but its \"[\" closes the section: the lines up to the next "
          "header are ignored");
    }
  }

  void Entry(std::string_view line, int number) {
    if (Trim(line).empty()) return;
    const size_t equals = line.find('=');
    if (equals == line.npos) {
      Add(number, "not an entry (no \"=\"): ignored; launch.ini has no comments");
      return;
    }
    const std::string key(line.substr(0, equals));
    const std::string value(line.substr(equals + 1));
    if (key.empty()) {
      Add(number, "no key before \"=\": ignored");
      return;
    }
    if (IsBlank(key.front())) {
      Add(number, "blank before the key: this line never matches");
      return;
    }
    if (IsBlank(key.back())) {
      Add(number, "blank before \"=\": this line never matches");
      return;
    }
    const std::string lower_key = Lower(key);
    const bool in_default_section = section_ == std::string("default") + kSuffix;
    if (lower_key == "default") {
      if (!in_default_section) {
        Add(number,
            "the key default is read only in [defaultLaunchFiles]: this line is never used");
        return;
      }
    } else if (!IsNumeric(key)) {
      Add(number, "key " + Quoted(key) +
                      " is neither an Office version number nor \"default\": never looked up");
      return;
    } else {
      Mention(key);
    }
    const auto [first, inserted] =
        first_entries_.emplace(std::make_pair(section_, lower_key), number);
    if (!inserted) {
      Add(number, "hidden by line " + std::to_string(first->second) + ", the first entry for key " +
                      Quoted(key) + " in this section: never used");
      return;
    }
    const bool is_default_entry = in_default_section && lower_key == "default";
    if (is_default_entry) result_.default_entry_line = number;
    if (value.empty()) {
      Add(number, is_default_entry ? "empty default entry"
                                   : "empty value: the launcher uses the default entry instead");
      return;
    }
    if (IsBlank(value.front())) {
      Add(number, "blank after \"=\": it is part of the value " + Quoted(value));
    }
    try {
      checker::ResolveCommand(host_, directory_, value);
    } catch (const platform::Failure&) {
      Add(number, "no program: " + Quoted(value) + " names no file under " + shown_directory_);
    }
  }

  bool IsNumeric(const std::string& key) {
    try {
      host_.TextToNumber(key);
      return true;
    } catch (const platform::Failure&) {
      return false;
    }
  }

  void Mention(const std::string& key) {
    if (!mentioned_.insert(key).second) return;
    bool is_number = false;
    try {
      const double number = host_.TextToNumber(key);
      is_number = number >= -2147483648.0 && number <= 2147483647.0 &&
                  std::to_string(static_cast<std::int32_t>(number)) == key;
    } catch (const platform::Failure&) {
    }
    result_.versions.push_back({key, is_number});
  }

  platform::Host& host_;
  std::string directory_;
  std::string shown_directory_;
  State state_ = State::kBeforeHeader;
  std::string section_;
  int closed_at_ = 0;
  std::map<std::pair<std::string, std::string>, int> first_entries_;
  std::set<std::string> mentioned_;
  LintResult result_;
};

}  // namespace

LintResult LintLaunchIni(platform::Host& host, const std::string& config_path,
                         const std::string& directory, const std::string& shown_directory) {
  Linter linter(host, directory, shown_directory);
  std::unique_ptr<platform::TextInput> input;
  try {
    input = host.OpenTextInput(config_path);
    int number = 1;
    while (!input->AtEnd()) {
      const std::string line(input->ReadLine());  // the view ends at the next call
      int line_feeds = static_cast<int>(std::count(line.begin(), line.end(), '\n'));
      // A line feed that ends the file starts no line of its own.
      if (!line.empty() && line.back() == '\n' && input->AtEnd()) --line_feeds;
      linter.Line(line, number, number + line_feeds);
      number += 1 + line_feeds;
    }
    linter.result().readable = true;
  } catch (const platform::Failure& failure) {
    linter.result().findings.push_back({0, "cannot be read: " + DescribeFailure(failure)});
  }
  return std::move(linter).Result();
}

}  // namespace launchcheck
