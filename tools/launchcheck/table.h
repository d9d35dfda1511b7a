#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "findings.h"

namespace launchcheck {

// Runs the launcher for every host label and each Office version in
// `versions` and 8 to 16, each on a fresh simulated host, and prints one row
// per run: the label, the version, the path taken, and what was started or
// the error report.
void PrintTable(std::ostream& out, const std::vector<MentionedVersion>& versions,
                const std::string& install_dir, const std::filesystem::path& native_dir);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_
