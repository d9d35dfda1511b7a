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
      const std::string line = input->ReadLine();
      const std::string lower = host.LowerCase(line);
      const bool has_bracket = lower.find('[') != std::string::npos;
      if (has_bracket) in_section = false;
      if (lower == header) in_section = true;
      if (has_bracket || !in_section) continue;
      if (lower.compare(0, key_prefix.size(), key_prefix) == 0) {
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
