#include "config/launch_entry.h"

#include <array>
#include <cstring>
#include <string_view>

namespace checker {
namespace {

// The host's lower-casing as a table, made with one call: it works byte by
// byte, so each byte of a line lowers as its entry says, and no line costs a
// call or a copy.
class LowerTable {
 public:
  explicit LowerTable(platform::Host& host) {
    std::string bytes(kBytes, '\0');
    for (size_t i = 0; i < kBytes; ++i) bytes[i] = static_cast<char>(i);
    const std::string lower = host.LowerCase(bytes);
    for (size_t i = 0; i < kBytes; ++i) table_[i] = i < lower.size() ? lower[i] : bytes[i];
  }

  // True when `text` lowered begins with `lowered`.
  bool StartsWith(std::string_view text, std::string_view lowered) const {
    if (text.size() < lowered.size()) return false;
    for (size_t i = 0; i < lowered.size(); ++i) {
      if (table_[static_cast<unsigned char>(text[i])] != lowered[i]) return false;
    }
    return true;
  }

 private:
  static constexpr size_t kBytes = 256;
  std::array<char, kBytes> table_;
};

}  // namespace

std::string ReadLaunchEntry(platform::Host& host, const std::string& file,
                            const std::string& section, const std::string& key) {
  std::string result;
  try {
    const std::string header = "[" + host.LowerCase(section) + "]";
    const std::string key_prefix = host.LowerCase(key) + "=";
    const LowerTable lower(host);
    std::unique_ptr<platform::TextInput> input = host.OpenTextInput(file);
    bool in_section = false;
    while (!input->AtEnd()) {
      const std::string_view line = input->ReadLine();
      if (std::memchr(line.data(), '[', line.size()) != nullptr) {
        in_section = line.size() == header.size() && lower.StartsWith(line, header);
        continue;
      }
      if (in_section && lower.StartsWith(line, key_prefix)) {
        result = line.substr(key_prefix.size());
        break;
      }
    }
  } catch (const platform::Failure&) {
    return "";
  }
  return result;
}

}  // namespace checker
