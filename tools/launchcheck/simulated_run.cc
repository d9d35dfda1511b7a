#include "simulated_run.h"

#include "launcher/launch_selection.h"
#include "launcher/main.h"
#include "launcher/observer.h"
#include "status/frm_main.h"

namespace launchcheck {
namespace {

// Writes each decision down as the launcher makes it.
class StepRecorder : public checker::Observer {
 public:
  explicit StepRecorder(Outcome& outcome) : outcome_(outcome) {}

  void LookupMade(std::string_view section, std::string_view key,
                  const std::string& value) override {
    outcome_.steps.push_back("lookup: [" + std::string(section) + "] key " +
                             Quoted(std::string(key)) + " gives " +
                             (value.empty() ? "nothing" : Quoted(value)));
  }
  void MainPathFailed(const platform::Failure& failure) override {
    outcome_.steps.push_back("failed: " + DescribeFailure(failure));
  }
  void PathTaken(checker::LaunchPath path) override {
    switch (path) {
      case checker::LaunchPath::kPrimary:
        outcome_.path = "primary";
        break;
      case checker::LaunchPath::kDefault:
        outcome_.path = "default";
        break;
      case checker::LaunchPath::kFallback:
        outcome_.path = "fallback";
        break;
    }
    outcome_.steps.push_back("path: " + outcome_.path);
  }
  void CommandResolved(const std::string& command_line,
                       const checker::ResolvedCommand& resolved) override {
    resolved_command_line_ = command_line;
    outcome_.steps.push_back("program: " + Quoted(resolved.program));
    outcome_.steps.push_back("arguments: " + Quoted(resolved.arguments));
  }

  const std::string& resolved_command_line() const { return resolved_command_line_; }

 private:
  Outcome& outcome_;
  std::string resolved_command_line_;
};

}  // namespace

std::string DescribeFailure(const platform::Failure& failure) {
  return "error " + std::to_string(failure.number()) + ": " + failure.description();
}

std::string Escaped(const std::string& text, const std::string& hex) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\r') {
      escaped += "\\r";
    } else if (c == '\t') {
      escaped += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      const char* const digits = "0123456789abcdef";
      escaped += '\\' + hex + digits[byte >> 4] + digits[byte & 0xF];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

void SetUpHost(platform::SimulatedHost& host, const HostChoice& choice,
               const std::string& install_dir, const std::filesystem::path& native_dir) {
  host.SetOwnDirectory(install_dir);
  host.MapDirectory(install_dir, native_dir);
  if (choice.os) {
    const auto& v = *choice.os;
    host.SetVersion(v[0], v[1], v[2], v[3]);
  }
  if (choice.office) {
    if (const auto* number = std::get_if<std::uint32_t>(&*choice.office)) {
      host.SetRegistryNumber(platform::kHkeyLocalMachine, checker::kOfficeKeyPath,
                             checker::kOfficeValueName, *number);
    } else {
      host.SetRegistryText(platform::kHkeyLocalMachine, checker::kOfficeKeyPath,
                           checker::kOfficeValueName, std::get<std::string>(*choice.office));
    }
  }
  if (choice.word) host.AddAutomationClass(checker::kWordClassName, {*choice.word});
}

Outcome RunLauncher(platform::SimulatedHost& host) {
  Outcome outcome;
  StepRecorder recorder(outcome);
  const size_t started_before = host.started().size();
  outcome.exit_status =
      host.RunClosure([&recorder](platform::Host& h) { return checker::Main(h, &recorder); });
  // The launcher resolves a command just before it starts it.
  if (host.started().size() > started_before)
    outcome.command_line = recorder.resolved_command_line();
  outcome.error_report = host.error_report();
  return outcome;
}

std::vector<DetectedValue> DetectedValues(const platform::SimulatedHost& host) {
  std::vector<DetectedValue> values = {
      {"office version", "Label1", ""}, {"build", "Label2", ""},    {"major version", "Label3", ""},
      {"minor version", "Label4", ""},  {"platform", "Label5", ""}, {"host label", "Label6", ""},
  };
  for (DetectedValue& value : values) {
    value.caption = host.Caption(status::frmMain, value.control);
    for (const auto& write : host.caption_writes()) {
      if (write.control == value.control) value.written = true;
    }
  }
  return values;
}

}  // namespace launchcheck
