#include "config/launch_entry.h"

#include <array>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/join.h"
#include "platform/start_limits.h"

namespace checker {
namespace {

// How much of launch.ini is read at a time. The lookup never holds more of
// the file than this, however long its lines are.
constexpr size_t kReadSize = 64 * 1024;

// The host's lower-casing as a table, made with one call: it works byte by
// byte, so each byte of a line lowers as its entry says, and no line costs a
// call or a copy. In a double-byte code page only the bytes that are
// characters of their own are lowered so; a lead byte stays as it is, and a
// double-byte character is compared as it stands (the sections and keys
// looked up are ASCII, which no double-byte character lowers to).
class LowerTable {
 public:
  LowerTable(platform::Host& host, const platform::LeadBytes& lead) {
    std::string bytes;
    for (size_t i = 0; i < kBytes; ++i) {
      table_[i] = static_cast<char>(i);
      // A lead byte would pair with the byte after it in the host's call.
      if (!lead.contains(static_cast<unsigned char>(i))) bytes.push_back(static_cast<char>(i));
    }
    const std::string lower = host.LowerCase(bytes);
    for (size_t i = 0; i < bytes.size() && i < lower.size(); ++i) {
      table_[static_cast<unsigned char>(bytes[i])] = lower[i];
    }
  }

  char operator[](char c) const { return table_[static_cast<unsigned char>(c)]; }

 private:
  static constexpr size_t kBytes = 256;
  std::array<char, kBytes> table_;
};

// Reads launch.ini as it comes, in pieces of any size, one line at a time
// without holding the line: what a line is matters only through its first
// few characters (the header, the key and "="), whether a "[" stands
// anywhere in it, and, on the line of the entry, the value.
class EntryScanner {
 public:
  EntryScanner(const LowerTable& lower, const platform::LeadBytes& lead, std::string_view header,
               std::string_view key_prefix)
      : lower_(lower), lead_(lead), header_(header), key_prefix_(key_prefix) {}

  // Takes the next bytes of the file; true once the entry is found.
  bool Feed(const char* bytes, size_t size) {
    for (size_t i = 0; i < size;) {
      if (skip_line_feed_) {
        skip_line_feed_ = false;
        if (bytes[i] == '\n') {
          ++i;
          continue;
        }
      }
      if (lead_.empty() && !header_alive_) i = SkipToWhatMatters(bytes, i, size);
      if (i == size) break;
      const char c = bytes[i++];
      if (c == '\r') {
        // Lines end at a carriage return, whatever character it follows.
        if (EndLine()) return true;
        skip_line_feed_ = true;
      } else {
        Take(c);
      }
    }
    return false;
  }

  // The end of the file: true when its last line is the entry.
  bool Finish() { return EndLine(); }

  // The entry's value. One longer than any command line Windows starts is
  // cut after kMaxCommandLine bytes: still too long to start, and no longer.
  std::string& value() { return value_; }

 private:
  // Past the bytes of the current line that are read all alike: once the
  // header no longer matches, a line outside the section matters not at
  // all, and one inside only by a "[", or as the entry by its value. Single
  // byte code pages only, where every byte is a character. Gives where to
  // go on: the line's carriage return, or the next byte to compare.
  size_t SkipToWhatMatters(const char* bytes, size_t i, size_t size) {
    const bool line_counts = in_section_ && !bracket_;
    if (line_counts && key_alive_ && column_ < key_prefix_.size()) return i;
    const void* found = std::memchr(bytes + i, '\r', size - i);
    const size_t end = found != nullptr ? static_cast<const char*>(found) - bytes : size;
    if (line_counts && std::memchr(bytes + i, '[', end - i) != nullptr) bracket_ = true;
    if (line_counts && key_alive_) {
      const size_t room = platform::kMaxCommandLine - value_.size();
      value_.append(bytes + i, end - i < room ? end - i : room);
    }
    Advance(end - i);
    return end;
  }

  void Advance(size_t count) { column_ = count > kLongest - column_ ? kLongest : column_ + count; }

  void Take(char c) {
    const bool trail = trail_next_;
    trail_next_ = !trail && lead_.contains(static_cast<unsigned char>(c));
    if (!trail && c == '[') bracket_ = true;
    // The second byte of a double-byte character is compared as it stands.
    const char lowered = trail ? c : lower_[c];
    if (header_alive_) header_alive_ = column_ < header_.size() && lowered == header_[column_];
    if (key_alive_ && column_ < key_prefix_.size()) {
      key_alive_ = lowered == key_prefix_[column_];
    } else if (key_alive_ && in_section_ && value_.size() < platform::kMaxCommandLine) {
      value_.push_back(c);
    }
    Advance(1);
  }

  // True when the line that ends here is the entry.
  bool EndLine() {
    if (bracket_) {
      in_section_ = header_alive_ && column_ == header_.size();
    } else if (in_section_ && key_alive_ && column_ >= key_prefix_.size()) {
      return true;
    }
    value_.clear();
    column_ = 0;
    header_alive_ = true;
    key_alive_ = true;
    bracket_ = false;
    trail_next_ = false;
    return false;
  }

  const LowerTable& lower_;
  const platform::LeadBytes& lead_;
  const std::string_view header_;
  const std::string_view key_prefix_;
  bool in_section_ = false;
  bool skip_line_feed_ = false;
  // The current line so far.
  static constexpr size_t kLongest = ~size_t{0};
  size_t column_ = 0;         // bytes, up to kLongest
  bool header_alive_ = true;  // every byte matched the header
  bool key_alive_ = true;     // every byte matched the key and "=", then any
  bool bracket_ = false;      // it holds a "[" character
  bool trail_next_ = false;   // the next byte ends a double-byte character
  std::string value_;
};

// The lookup itself; a failure to read the file passes up. Memory: the read
// buffer and the value, both of a fixed most, besides the caller's texts.
platform::Result<std::string> FindLaunchEntry(platform::Host& host, const std::string& file,
                                              std::string_view section, std::string_view key) {
  const std::string header = platform::Join({"[", host.LowerCase(section), "]"});
  const std::string key_prefix = platform::Join({host.LowerCase(key), "="});
  const platform::LeadBytes lead = host.SystemLeadBytes();
  const LowerTable lower(host, lead);
  platform::Result<std::unique_ptr<platform::TextInput>> input = host.OpenTextInput(file);
  if (!input.ok()) return input.TakeFailure();
  EntryScanner scanner(lower, lead, header, key_prefix);
  const std::unique_ptr<char[]> buffer(new char[kReadSize]);
  for (;;) {
    platform::Result<size_t> count = (*input)->Read(buffer.get(), kReadSize);
    if (!count.ok()) return count.TakeFailure();
    if (*count == 0) break;
    if (scanner.Feed(buffer.get(), *count)) return std::move(scanner.value());
  }
  if (scanner.Finish()) return std::move(scanner.value());
  return std::string();
}

}  // namespace

std::string ReadLaunchEntry(platform::Host& host, const std::string& file,
                            std::string_view section, std::string_view key) {
  platform::Result<std::string> value = FindLaunchEntry(host, file, section, key);
  if (!value.ok()) {
    // Guard: a file that is missing or cannot be read gives the empty text.
    return std::string();
  }
  return *std::move(value);
}

}  // namespace checker
