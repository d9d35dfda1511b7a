#include "options.h"

#include <limits>

#include "code_pages.h"
#include "version.h"

namespace launchcheck {
namespace {

// Plain decimal digits, at most `max`.
std::optional<std::uint64_t> ReadDecimal(const std::string& text, std::uint64_t max) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > max) return std::nullopt;
  }
  return value;
}

std::array<std::uint32_t, 4> ReadOsVersion(const std::string& text) {
  std::array<std::uint32_t, 4> parts = {0, 0, 0, 0};
  size_t count = 0;
  size_t begin = 0;
  for (;;) {
    const size_t dot = text.find('.', begin);
    const std::string part = text.substr(begin, dot == std::string::npos ? dot : dot - begin);
    const auto value = ReadDecimal(part, std::numeric_limits<std::uint32_t>::max());
    if (!value || count == parts.size()) {
      throw UsageError("--os wants MAJOR.MINOR[.BUILD[.PLATFORM]], each a number: " + text);
    }
    parts[count++] = static_cast<std::uint32_t>(*value);
    if (dot == std::string::npos) break;
    begin = dot + 1;
  }
  if (count < 2) throw UsageError("--os wants at least MAJOR.MINOR: " + text);
  return parts;
}

// A 32-bit registry number, written signed or unsigned.
std::uint32_t ReadOfficeNumber(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const auto max = negative ? std::uint64_t{1} << 31 : std::numeric_limits<std::uint32_t>::max();
  const auto value = ReadDecimal(negative ? text.substr(1) : text, max);
  if (!value) throw UsageError("--office wants a 32-bit whole number: " + text);
  return negative ? static_cast<std::uint32_t>(0 - *value) : static_cast<std::uint32_t>(*value);
}

int ReadCodePage(const std::string& text) {
  const auto number = ReadDecimal(text, 65535);
  if (!number || FindCodePage(static_cast<int>(*number)) == nullptr) {
    throw UsageError("--codepage wants one of " + SupportedCodePages() + ": " + text);
  }
  return static_cast<int>(*number);
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  bool dir_given = false;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (dir_given) throw UsageError("only one DIR may be given: " + arg);
      options.dir = arg;
      dir_given = true;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    std::optional<std::string> inline_value;
    if (const size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != arg.npos) {
      inline_value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    auto value = [&]() -> std::string {
      if (inline_value) return *inline_value;
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    auto flag = [&](bool& field) {
      if (inline_value) throw UsageError(arg + " takes no value");
      field = true;
    };
    if (arg == "--help" || arg == "-h") {
      flag(options.help);
    } else if (arg == "--version") {
      flag(options.version);
    } else if (arg == "--explain") {
      flag(options.explain);
    } else if (arg == "--probe") {
      flag(options.probe);
    } else if (arg == "--os") {
      options.host.os = ReadOsVersion(value());
    } else if (arg == "--office") {
      options.host.office = ReadOfficeNumber(value());
    } else if (arg == "--office-text") {
      options.host.office = value();
    } else if (arg == "--word") {
      options.host.word = value();
    } else if (arg == "--dir") {
      options.install_dir = value();
    } else if (arg == "--format") {
      const std::string format = value();
      if (format != "text" && format != "json") {
        throw UsageError("--format wants text or json: " + format);
      }
      options.json = format == "json";
    } else if (arg == "--strict") {
      flag(options.strict);
    } else if (arg == "--fix") {
      options.fix_output = value();
    } else if (arg == "--force") {
      flag(options.force);
    } else if (arg == "--codepage") {
      options.code_page = ReadCodePage(value());
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  if (options.help || options.version) return options;
  if (options.probe && options.host.Any()) {
    throw UsageError(
        "--probe reads this machine: --os, --office, --office-text and --word do not go with it");
  }
  if (options.explain && !options.probe && !options.host.Any()) {
    throw UsageError(
        "--explain explains one host: give --os, --office, --office-text, --word or --probe");
  }
  if (options.fix_output &&
      (options.probe || options.host.Any() || options.explain || options.strict || options.json)) {
    throw UsageError(
        "--fix only writes a corrected launch.ini: it goes with --force, --codepage and DIR");
  }
  if (options.force && !options.fix_output) throw UsageError("--force goes with --fix");
  if (options.strict && (options.probe || options.host.Any())) {
    throw UsageError("--strict judges the findings of every host at once: not with one host");
  }
  return options;
}

std::string UsageText() {
  return R"(Usage: launchcheck [OPTIONS] [DIR]

Shows what the launcher in DIR (default: the current directory) would start,
as it reads DIR/launch.ini. Starts nothing; writes nothing but --fix OUTPUT.

One host, described by any of these:
  --os MAJOR.MINOR[.BUILD[.PLATFORM]]
                     the version numbers the host reports (missing parts are
                     0; without --os all four are 0)
  --office N         the registry's Office version is the number N
  --office-text TEXT the registry's Office version is the text TEXT
                     (neither: the registry value is missing)
  --word TEXT        the word processor's automation object reports TEXT as
                     its version (absent: no such object can be created)
prints the command line the launcher would start and exits with 0, or, where
the launcher would end with its error report, prints that report on standard
error and exits with 1.

Without them: a table of what each host label would start for each Office
version that launch.ini mentions and 8 to 16, then the lines of launch.ini
that the launcher ignores or reads otherwise than meant, on standard error.
Exits with 1 when launch.ini has no usable default entry.

  --dir TEXT         the install directory as the launcher sees it (default:
                     DIR made absolute, in Windows spelling: Z:\ is the root
                     of the file system elsewhere, as under Wine)
  --explain          with one host: show each step on standard error
  --probe            (Windows build) take the registry, the version and the
                     word processor of this machine; show what was detected
                     and the command line, start nothing
  --format json      print the table and the findings, or one host's run, as
                     JSON on standard output (see the README)
  --strict           exit with 1 when there is any finding
  --codepage N       the system code page the launcher reads launch.ini in
                     (default 1252; also 1250, 1251, 1253, 1254, 1257)
  --fix OUTPUT       write a corrected copy of launch.ini to OUTPUT: CR LF
                     line ends, no byte-order mark, UTF-16 and UTF-8 text in
                     the code page, no blanks that stop a header or key from
                     matching; print each change. Never over launch.ini, and
                     over an existing OUTPUT only with --force
  --help             show this text
  --version          show launchcheck's version

Usage errors exit with 2.
)";
}

std::string VersionText() { return std::string("launchcheck ") + LAUNCHER_VERSION_TEXT + "\n"; }

}  // namespace launchcheck
