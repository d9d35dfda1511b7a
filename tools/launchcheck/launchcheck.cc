#include "launchcheck.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "code_pages.h"
#include "config/launch_entry.h"
#include "findings.h"
#include "fix.h"
#include "json_report.h"
#include "options.h"
#include "simulated_run.h"
#include "table.h"

namespace launchcheck {
namespace {

namespace fs = std::filesystem;

// Shown for a label of the status form that the run never reached.
constexpr char kNotWritten[] = "(not written)";

// DIR as an absolute path in Windows spelling, without a trailing separator
// except at a root. Elsewhere than on Windows the root of the file system is
// drive Z:, as Wine shows it.
std::string AbsoluteDirectory(const fs::path& dir) {
  std::error_code error;
  fs::path absolute = fs::absolute(dir, error).lexically_normal();
  absolute.make_preferred();
  std::string text = absolute.string();
  while (text.size() > 1 && (text.back() == '/' || text.back() == '\\') &&
         absolute.root_path().string().size() < text.size()) {
    text.pop_back();
  }
  if (!text.empty() && text.front() == '/') {
    std::replace(text.begin(), text.end(), '/', '\\');
    text = "Z:" + text;
  }
  return text;
}

// The file in `dir` that the launcher opens as launch.ini, found by the
// simulated host's own lookup: its name in any case, the first in name
// order when several differ only in case.
std::optional<fs::path> NativeLaunchIni(const fs::path& dir) {
  platform::SimulatedHost host;
  host.MapDirectory("C:\\", dir);
  std::optional<fs::path> file = host.MappedPath(std::string("C:\\") + checker::kConfigFileName);
  std::error_code error;
  if (file && !fs::is_regular_file(*file, error)) return std::nullopt;
  return file;
}

// Up to `limit` bytes from the start of `file`; none when it cannot be read.
std::optional<std::string> ReadBytes(const fs::path& file, std::size_t limit) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) return std::nullopt;
  std::string bytes;
  char chunk[64 * 1024];
  while (bytes.size() < limit && stream.read(chunk, sizeof(chunk)).gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(stream.gcount()));
  }
  if (stream.bad()) return std::nullopt;
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

// Install directory + separator, joined as the launcher joins them.
std::string DirectoryPrefix(const std::string& install_dir) {
  return !install_dir.empty() && install_dir.back() == '\\' ? install_dir : install_dir + "\\";
}

void PrintSteps(std::ostream& err, const platform::SimulatedHost& host, const Outcome& outcome) {
  const auto values = DetectedValues(host);
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    err << "detected: " << values[i].what << " (" << values[i].control
        << ") = " << (values[i].written ? Quoted(values[i].caption) : kNotWritten) << "\n";
  }
  err << "label: " << (values.back().written ? values.back().caption : kNotWritten) << "\n";
  for (const std::string& step : outcome.steps) err << step << "\n";
}

// Prints the command line, or the error report; gives the exit status.
int PrintOutcome(std::ostream& out, std::ostream& err, const Outcome& outcome) {
  if (outcome.command_line) {
    out << *outcome.command_line << "\n";
    return 0;
  }
  if (outcome.error_report)
    err << "error report: " << DescribeFailure(*outcome.error_report) << "\n";
  return 1;
}

// The table and the findings; 1 when launch.ini has no usable default entry
// (or, with --strict, any finding).
int CheckEveryHost(std::ostream& out, std::ostream& err, const Options& options,
                   const std::string& install_dir, const fs::path& native_dir) {
  const std::string shown_ini = (native_dir / checker::kConfigFileName).string();
  const CodePage& code_page = *FindCodePage(options.code_page);
  const std::optional<fs::path> native_ini = NativeLaunchIni(native_dir);
  const std::optional<std::string> head =
      native_ini ? ReadBytes(*native_ini, kEncodingHead) : std::nullopt;
  platform::SimulatedHost reader;
  SetUpHost(reader, {}, install_dir, native_dir);
  LintResult lint = LintLaunchIni(reader, {DirectoryPrefix(install_dir) + checker::kConfigFileName,
                                           DirectoryPrefix(install_dir), native_dir.string(),
                                           DetectEncoding(head.value_or("")), &code_page});

  const std::vector<TableRow> rows = RunEveryHost(lint.versions, install_dir, native_dir);

  // With no Office to be found the launcher takes its fallback launch: what
  // that starts is what the default entry is good for.
  platform::SimulatedHost bare;
  SetUpHost(bare, {}, install_dir, native_dir);
  const Outcome fallback = RunLauncher(bare);
  const bool usable_default = fallback.command_line.has_value();
  if (!usable_default) {
    std::string why = fallback.error_report ? DescribeFailure(*fallback.error_report) : "";
    if (lint.readable && lint.default_entry_line == 0) {
      why = "[defaultLaunchFiles] has no entry default=";
    }
    lint.findings.push_back(
        {lint.default_entry_line, "no-usable-default",
         "no usable default entry (" + why +
             "): when the Office version cannot be found the launcher ends with its error "
             "report"});
  }
  // In line order; what concerns the whole file comes last.
  auto order = [](const Finding& f) { return f.line > 0 ? f.line : INT_MAX; };
  std::stable_sort(lint.findings.begin(), lint.findings.end(),
                   [&](const Finding& a, const Finding& b) { return order(a) < order(b); });
  if (options.json) {
    PrintJsonReport(out, rows, lint.findings, shown_ini, code_page);
  } else {
    PrintTable(out, rows);
    for (const Finding& finding : lint.findings) {
      err << shown_ini;
      if (finding.line > 0) err << ":" << finding.line;
      err << ": " << finding.message << "\n";
    }
  }
  return usable_default && !(options.strict && !lint.findings.empty()) ? 0 : 1;
}

// --fix: writes the corrected copy and prints each change; 1 when nothing
// could be written.
int Fix(std::ostream& out, std::ostream& err, const Options& options, const fs::path& native_dir) {
  const CodePage& code_page = *FindCodePage(options.code_page);
  const fs::path output(*options.fix_output);
  const std::optional<fs::path> input = NativeLaunchIni(native_dir);
  // Far more than any launch.ini; what is cut off must not be lost silently.
  constexpr std::size_t kLargest = std::size_t{64} << 20;
  const std::optional<std::string> original =
      input ? ReadBytes(*input, kLargest + 1) : std::nullopt;
  if (!original || original->size() > kLargest) {
    err << "launchcheck: cannot read " << (native_dir / checker::kConfigFileName).string()
        << (original ? ": larger than 64 MiB" : "") << "\n";
    return 1;
  }
  std::error_code error;
  if (fs::exists(output, error) && !options.force) {
    err << "launchcheck: " << output.string() << " exists; --force replaces it\n";
    return 1;
  }
  const std::string shown_ini = input->string();
  const FixedFile fixed = FixLaunchIni(*original, code_page);
  if (!fixed.unconvertible.empty()) {
    for (const FixNote& note : fixed.unconvertible) {
      err << shown_ini << ":" << note.line << ": " << note.message << "\n";
    }
    err << "launchcheck: nothing written: choose a code page with these characters (--codepage "
        << SupportedCodePages() << ")\n";
    return 1;
  }
  std::ofstream stream(output, std::ios::binary | std::ios::trunc);
  stream << fixed.bytes;
  stream.close();
  if (!stream) {
    err << "launchcheck: cannot write " << output.string() << "\n";
    return 1;
  }
  for (const FixNote& note : fixed.changes) {
    out << shown_ini << ":" << note.line << ": " << note.message << "\n";
  }
  return 0;
}

}  // namespace

int Launchcheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const ProbeHostFactory& probe_host) {
  Options options;
  try {
    options = ParseOptions(args);
    if (options.probe && !probe_host) {
      throw UsageError("--probe needs the Windows build of launchcheck");
    }
    std::error_code error;
    if (!options.help && !options.version && !fs::is_directory(options.dir, error)) {
      throw UsageError("no such directory: " + options.dir);
    }
    if (options.fix_output) {
      const std::optional<fs::path> input = NativeLaunchIni(options.dir);
      if (input && fs::equivalent(*input, *options.fix_output, error)) {
        throw UsageError("--fix never writes over launch.ini itself: " + *options.fix_output);
      }
    }
  } catch (const UsageError& usage) {
    err << "launchcheck: " << usage.what() << "\n"
        << "Try 'launchcheck --help' for more information.\n";
    return 2;
  }
  if (options.help) {
    out << UsageText();
    return 0;
  }
  if (options.version) {
    out << VersionText();
    return 0;
  }
  const fs::path native_dir(options.dir);
  const std::string install_dir = options.install_dir.value_or(AbsoluteDirectory(native_dir));

  if (options.fix_output) return Fix(out, err, options, native_dir);
  if (!options.probe && !options.host.Any()) {
    return CheckEveryHost(out, err, options, install_dir, native_dir);
  }

  platform::SimulatedHost host;
  std::unique_ptr<platform::Host> real;
  if (options.probe) {
    SetUpHost(host, {}, install_dir, native_dir);
    real = probe_host();
    host.UseProbesOf(*real);
  } else {
    SetUpHost(host, options.host, install_dir, native_dir);
  }
  const Outcome outcome = RunLauncher(host);
  if (options.probe && !options.json) {
    for (const DetectedValue& value : DetectedValues(host)) {
      out << value.what << " (" << value.control
          << "): " << (value.written ? Escaped(value.caption) : kNotWritten) << "\n";
    }
  }
  if (options.explain) PrintSteps(err, host, outcome);
  if (options.json) {
    const DetectedValue label = DetectedValues(host).back();
    PrintJsonOutcome(out, label.written ? std::optional(label.caption) : std::nullopt, outcome,
                     *FindCodePage(options.code_page));
    return outcome.command_line ? 0 : 1;
  }
  return PrintOutcome(out, err, outcome);
}

}  // namespace launchcheck
