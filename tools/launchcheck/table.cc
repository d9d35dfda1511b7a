#include "table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "simulated_run.h"

namespace launchcheck {
namespace {

// A version record that the launcher labels with each label of its set.
struct LabelHost {
  const char* label;
  std::array<std::uint32_t, 4> os;
};
constexpr LabelHost kLabelHosts[] = {
    {"win98", {4, 10, 2222, 1}},  {"winme", {4, 90, 3000, 1}}, {"winnt", {4, 0, 1381, 2}},
    {"win2k", {5, 0, 2195, 2}},   {"winxp", {5, 1, 2600, 2}},  {"winvista", {6, 0, 6002, 2}},
    {"default", {6, 1, 7601, 2}},
};

// The versions in numeric order, a number before a text of the same value.
std::vector<MentionedVersion> AllVersions(std::vector<MentionedVersion> versions) {
  for (int number = 8; number <= 16; ++number) {
    const std::string key = std::to_string(number);
    const bool known =
        std::any_of(versions.begin(), versions.end(),
                    [&](const MentionedVersion& v) { return v.is_number && v.key == key; });
    if (!known) versions.push_back({key, true});
  }
  auto order = [](const MentionedVersion& v) {
    return std::make_tuple(std::strtod(v.key.c_str(), nullptr), !v.is_number, v.key);
  };
  std::stable_sort(
      versions.begin(), versions.end(),
      [&](const MentionedVersion& a, const MentionedVersion& b) { return order(a) < order(b); });
  return versions;
}

std::string Shown(const MentionedVersion& version) {
  return version.is_number ? version.key : Quoted(version.key);
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

std::string Started(const Outcome& outcome) {
  if (outcome.command_line) return *outcome.command_line;
  if (outcome.error_report)
    return "nothing: error report, " + DescribeFailure(*outcome.error_report);
  return "nothing";
}

}  // namespace

std::vector<TableRow> RunEveryHost(const std::vector<MentionedVersion>& versions,
                                   const std::string& install_dir,
                                   const std::filesystem::path& native_dir) {
  std::vector<TableRow> rows;
  for (const LabelHost& row : kLabelHosts) {
    for (const MentionedVersion& version : AllVersions(versions)) {
      HostChoice choice;
      choice.os = row.os;
      if (version.is_number) {
        choice.office = static_cast<std::uint32_t>(std::stoll(version.key));
      } else {
        choice.office = version.key;
      }
      platform::SimulatedHost host;
      SetUpHost(host, choice, install_dir, native_dir);
      Outcome outcome = RunLauncher(host);
      rows.push_back({DetectedValues(host)[5].caption, version, std::move(outcome)});
    }
  }
  return rows;
}

void PrintTable(std::ostream& out, const std::vector<TableRow>& rows) {
  size_t office_width = 8;
  for (const TableRow& row : rows) {
    office_width = std::max(office_width, Shown(row.office).size() + 2);
  }
  out << Padded("label", 10) << Padded("office", office_width) << Padded("path", 10) << "starts\n";
  for (const TableRow& row : rows) {
    out << Padded(row.label, 10) << Padded(Shown(row.office), office_width)
        << Padded(row.outcome.path, 10) << Started(row.outcome) << "\n";
  }
}

}  // namespace launchcheck
