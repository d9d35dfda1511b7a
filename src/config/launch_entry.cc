#include "config/launch_entry.h"

namespace checker {

std::string ReadLaunchEntry(platform::Host& host, const std::string& file,
                            const std::string& section, const std::string& key) {
  std::string result;
  try {
    const std::string header = "[" + host.LowerCase(section) + "]";
    const std::string key_prefix = host.LowerCase(key) + "=";
    std::unique_ptr<platform::TextInput> input = host.OpenTextInput(file);
    bool in_section = false;
    while (!input->AtEnd()) {
      const std::string_view line = input->ReadLine();
      // Lower-casing works byte by byte, so a line is lowered only as far as a
      // comparison needs it: whole for a possible header, the key's length
      // for a possible entry. The results are those of lowering every line.
      if (line.find('[') != std::string_view::npos) {
        in_section = line.size() == header.size() && host.LowerCase(std::string(line)) == header;
        continue;
      }
      if (!in_section || line.size() < key_prefix.size()) continue;
      if (host.LowerCase(std::string(line.substr(0, key_prefix.size()))) == key_prefix) {
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
