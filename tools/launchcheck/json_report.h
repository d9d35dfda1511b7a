#ifndef LAUNCHER_TOOLS_LAUNCHCHECK_JSON_REPORT_H_
#define LAUNCHER_TOOLS_LAUNCHCHECK_JSON_REPORT_H_

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "code_pages.h"
#include "findings.h"
#include "table.h"

namespace launchcheck {

// `text` as a JSON string, in UTF-8: bytes that are not UTF-8 are read in
// `code_page`, as the launcher reads them.
std::string JsonString(std::string_view text, const CodePage& code_page);

// {"rows": [...], "findings": [...]}, one row or finding a line, fields in a
// fixed order; `file` names launch.ini in each finding.
void PrintJsonReport(std::ostream& out, const std::vector<TableRow>& rows,
                     const std::vector<Finding>& findings, const std::string& file,
                     const CodePage& code_page);

// One host's run: {"label", "path", "command_line", "error_report"};
// `label` is none when the run never wrote one.
void PrintJsonOutcome(std::ostream& out, const std::optional<std::string>& label,
                      const Outcome& outcome, const CodePage& code_page);

}  // namespace launchcheck

#endif  // LAUNCHER_TOOLS_LAUNCHCHECK_JSON_REPORT_H_
