#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_FIX_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_FIX_H_

#include <string>
#include <string_view>
#include <vector>

#include "code_pages.h"

namespace launchcheck {

// One thing changed in launch.ini, or left as it was for a reason.
struct FixNote {
  int line = 0;  // as an editor counts lines in the original
  std::string message;
};

struct FixedFile {
  std::string bytes;
  std::vector<FixNote> changes;  // in line order
  // Characters that `code_page` cannot hold; when there are any, there is
  // no corrected copy.
  std::vector<FixNote> unconvertible;
};

// `original` (the bytes of launch.ini) as the launcher reads what its
// author meant: 8-bit text in `code_page` without a byte-order mark (UTF-16
// and UTF-8 converted), CR LF line ends, and no blanks around a header's
// name or before a key's "=" where they stop it from matching. A fix that
// would change an entry the launcher already reads is not made.
FixedFile FixLaunchIni(std::string_view original, const CodePage& code_page);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_FIX_H_
