#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "findings.h"
#include "simulated_run.h"

namespace launchcheck {

// One run of the launcher on a host with a label and an Office version.
struct TableRow {
  std::string label;  // as the launcher wrote it on its status form
  MentionedVersion office;
  Outcome outcome;
};

// Runs the launcher for every host label and each Office version in
// `versions` and 8 to 16, each on a fresh simulated host.
std::vector<TableRow> RunEveryHost(const std::vector<MentionedVersion>& versions,
                                   const std::string& install_dir,
                                   const std::filesystem::path& native_dir);

// One line per row: the label, the version, the path taken, and what was
// started or the error report.
void PrintTable(std::ostream& out, const std::vector<TableRow>& rows);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_TABLE_H_
