#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_

#include <string>
#include <vector>

#include "code_pages.h"
#include "encoding.h"
#include "platform/host.h"

namespace launchcheck {

// A line of launch.ini that the launcher ignores or reads otherwise than its
// author probably meant. Lines are counted as an editor counts them: a lone
// line feed ends one there too.
struct Finding {
  int line = 0;           // 0: the file as a whole
  const char* kind = "";  // a short name of what is wrong, such as "blank-before-key"
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

// Where and how launch.ini is read.
struct LintSetting {
  std::string config_path;      // as the launcher opens it
  std::string directory;        // install directory + separator, for values
  std::string shown_directory;  // the directory as findings name it
  FileEncoding encoding;        // as the file's first bytes tell
  const CodePage* code_page;    // the system code page assumed
};

// Reads launch.ini on `host` line by line, as the launcher does.
LintResult LintLaunchIni(platform::Host& host, const LintSetting& setting);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_FINDINGS_H_
