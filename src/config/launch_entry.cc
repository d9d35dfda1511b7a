#include "config/launch_entry.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/line_reader.h"

namespace checker {
namespace {

// The host's lower-casing as a table, made with one call: it works byte by
// byte, so each byte of a line lowers as its entry says, and no line costs a
// call or a copy. In a double-byte code page only the bytes that are
// characters of their own are lowered so; a double-byte character is
// compared as it stands (the sections and keys looked up are ASCII, which
// no double-byte character lowers to).
class LowerTable {
 public:
  LowerTable(platform::Host& host, const platform::LeadBytes& lead) : lead_(lead) {
    std::string bytes(kBytes, '\0');
    for (size_t i = 0; i < kBytes; ++i) bytes[i] = static_cast<char>(i);
    if (lead.empty()) {
      const std::string lower = host.LowerCase(bytes);
      for (size_t i = 0; i < kBytes; ++i) table_[i] = i < lower.size() ? lower[i] : bytes[i];
      return;
    }
    // A lead byte would pair with the byte after it in the host's call; it
    // stays as it is.
    for (size_t i = 0; i < kBytes; ++i) table_[i] = bytes[i];
    bytes.erase(
        std::remove_if(bytes.begin(), bytes.end(),
                       [&lead](char c) { return lead.contains(static_cast<unsigned char>(c)); }),
        bytes.end());
    const std::string lower = host.LowerCase(bytes);
    for (size_t i = 0; i < bytes.size() && i < lower.size(); ++i) {
      table_[static_cast<unsigned char>(bytes[i])] = lower[i];
    }
  }

  // True when `text` lowered begins with `lowered`.
  bool StartsWith(std::string_view text, std::string_view lowered) const {
    if (text.size() < lowered.size()) return false;
    if (!lead_.empty()) return StartsWithInDoubleByteText(text, lowered);
    for (size_t i = 0; i < lowered.size(); ++i) {
      if (table_[static_cast<unsigned char>(text[i])] != lowered[i]) return false;
    }
    return true;
  }

 private:
  static constexpr size_t kBytes = 256;

  bool StartsWithInDoubleByteText(std::string_view text, std::string_view lowered) const {
    for (size_t i = 0; i < lowered.size();) {
      if (platform::CharacterLength(text, i, lead_) == 2) {
        if (lowered.compare(i, 2, text.substr(i, 2)) != 0) return false;
        i += 2;
      } else {
        if (table_[static_cast<unsigned char>(text[i])] != lowered[i]) return false;
        ++i;
      }
    }
    return true;
  }

  const platform::LeadBytes& lead_;
  std::array<char, kBytes> table_;
};

}  // namespace

namespace {

// The lookup itself; a failure to read the file passes up.
platform::Result<std::string> FindLaunchEntry(platform::Host& host, const std::string& file,
                                              const std::string& section, const std::string& key) {
  const std::string header = "[" + host.LowerCase(section) + "]";
  const std::string key_prefix = host.LowerCase(key) + "=";
  const platform::LeadBytes lead = host.SystemLeadBytes();
  const LowerTable lower(host, lead);
  platform::Result<std::unique_ptr<platform::TextInput>> opened = host.OpenTextInput(file);
  if (!opened.ok()) return opened.TakeFailure();
  platform::TextInput& input = **opened;
  platform::LineReader reader(
      [&input](char* buffer, size_t size) { return input.Read(buffer, size); });
  bool in_section = false;
  for (;;) {
    platform::Result<bool> at_end = reader.AtEnd();
    if (!at_end.ok()) return at_end.TakeFailure();
    if (*at_end) return std::string();
    platform::Result<std::string_view> line = reader.ReadLine();
    if (!line.ok()) return line.TakeFailure();
    if (platform::FindCharacter(*line, '[', lead) != std::string_view::npos) {
      in_section = line->size() == header.size() && lower.StartsWith(*line, header);
      continue;
    }
    if (in_section && lower.StartsWith(*line, key_prefix)) {
      return std::string(line->substr(key_prefix.size()));
    }
  }
}

}  // namespace

std::string ReadLaunchEntry(platform::Host& host, const std::string& file,
                            const std::string& section, const std::string& key) {
  platform::Result<std::string> value = FindLaunchEntry(host, file, section, key);
  if (!value.ok()) {
    // Guard: a file that is missing or cannot be read gives the empty text.
    return std::string();
  }
  return *std::move(value);
}

}  // namespace checker
