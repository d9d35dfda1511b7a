#include "json_report.h"

#include "encoding.h"
#include "simulated_run.h"

namespace launchcheck {
namespace {

// The fields a row and a one-host run share, after `label`.
std::string OutcomeFields(const Outcome& outcome, const CodePage& code_page) {
  std::string fields =
      "\"path\": " + JsonString(outcome.path, code_page) + ", \"command_line\": " +
      (outcome.command_line ? JsonString(*outcome.command_line, code_page) : std::string("null")) +
      ", \"error_report\": ";
  if (!outcome.error_report) return fields + "null";
  return fields + "{\"number\": " + std::to_string(outcome.error_report->number()) +
         ", \"description\": " + JsonString(outcome.error_report->description(), code_page) + "}";
}

}  // namespace

std::string JsonString(std::string_view text, const CodePage& code_page) {
  std::string quoted;
  for (const char c : AsUtf8(text, code_page)) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return "\"" + Escaped(quoted, "u00") + "\"";
}

void PrintJsonReport(std::ostream& out, const std::vector<TableRow>& rows,
                     const std::vector<Finding>& findings, const std::string& file,
                     const CodePage& code_page) {
  out << "{\n  \"rows\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    const TableRow& row = rows[i];
    out << (i == 0 ? "\n" : ",\n") << "    {\"label\": " << JsonString(row.label, code_page)
        << ", \"office\": "
        << (row.office.is_number ? row.office.key : JsonString(row.office.key, code_page)) << ", "
        << OutcomeFields(row.outcome, code_page) << "}";
  }
  out << (rows.empty() ? "" : "\n  ") << "],\n  \"findings\": [";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& finding = findings[i];
    out << (i == 0 ? "\n" : ",\n") << "    {\"file\": " << JsonString(file, code_page)
        << ", \"line\": " << (finding.line > 0 ? std::to_string(finding.line) : "null")
        << ", \"kind\": " << JsonString(finding.kind, code_page)
        << ", \"message\": " << JsonString(finding.message, code_page) << "}";
  }
  out << (findings.empty() ? "" : "\n  ") << "]\n}\n";
}

void PrintJsonOutcome(std::ostream& out, const std::optional<std::string>& label,
                      const Outcome& outcome, const CodePage& code_page) {
  out << "{\"label\": " << (label ? JsonString(*label, code_page) : "null") << ", "
      << OutcomeFields(outcome, code_page) << "}\n";
}

}  // namespace launchcheck
