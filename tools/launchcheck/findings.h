#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_

#include <string>
#include <vector>

#include "platform/host.h"

namespace launchcheck {

// A line of launch.ini that the launcher ignores or reads otherwise than its
// author probably meant. Lines are counted as an editor counts them: a lone
// line feed ends one there too.
struct Finding {
  int line = 0;  // 0: the file as a whole
  std::string message;
};

// An Office version that launch.ini has a key for: a plain decimal number
// that the registry can hold as a number, or else the text of the key.
struct MentionedVersion {
  std::string key;
  bool is_number = false;
};

struct LintResult {
  std::vector<Finding> findings;           // in the order of the lines
  std::vector<MentionedVersion> versions;  // in file order, each once
  int default_entry_line = 0;              // the line the launcher reads the default entry from
  bool readable = false;
};

// Reads `config_path` on `host` line by line, as the launcher does. Values
// are resolved against `directory` (install directory + separator), shown
// in findings as `shown_directory`.
LintResult LintLaunchIni(platform::Host& host, const std::string& config_path,
                         const std::string& directory, const std::string& shown_directory);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_
