// Starting programs through the Win32 host, alone and as the launcher
// resolves a launch value, with a probe program that records each start.
#include "platform/win32/program_start.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "failure_matchers.h"
#include "launcher/command_line.h"
#include "platform/simulated/simulated_host.h"
#include "platform/win32/own_directory.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_host.h"
#include "test_support.h"

namespace {

using platform::FailsWith;
using platform::Succeeds;

struct Record {
  std::string program;
  std::string command_line;
};

class ProgramStartTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string records = directory_.MakeDirectory("records");
    SetEnvironmentVariableA("LAUNCHER_TEST_PROBE_DIR", records.c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("LAUNCHER_TEST_PROBE_DIR", nullptr); }

  std::string AddProbe(const std::string& relative) {
    return directory_.CopyIn(win32_test::ProgramDirectory() + "\\start_probe.exe", relative);
  }

  // Waits for the started probes' records in `records` (a directory below
  // `directory`) and reads them. A record is complete once renamed from its
  // ".partial" name. The wait only guards against a probe that never runs;
  // the tests measure nothing.
  static std::vector<Record> WaitForRecords(const win32_test::TempDirectory& directory,
                                            const std::string& records) {
    std::vector<std::string> names;
    for (int i = 0; i < 600 && names.empty(); ++i) {
      if (i > 0) Sleep(50);
      names.clear();
      for (const std::string& name : directory.Files(records)) {
        if (name.find(".partial") == std::string::npos) names.push_back(name);
      }
    }
    std::vector<Record> result;
    for (const std::string& name : names) {
      std::ifstream file(directory.path() + "\\" + records + "\\" + name, std::ios::binary);
      Record record;
      std::getline(file, record.program);
      std::getline(file, record.command_line);
      result.push_back(record);
    }
    return result;
  }
  std::vector<Record> WaitForRecords() { return WaitForRecords(directory_, "records"); }

  win32_test::TempDirectory directory_{"Program Files\\Disc Tools"};
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(ProgramStartTest, StartsProgramWithItsCommandLine) {
  const std::string probe = AddProbe("apps\\setup.exe");
  const std::string command_line = "\"" + probe + "\" /q  two";
  ASSERT_THAT(host_->StartProgram(probe, command_line, " /q  two"), Succeeds());
  const std::vector<Record> records = WaitForRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].program, probe);
  EXPECT_EQ(records[0].command_line, command_line);
}

TEST_F(ProgramStartTest, MissingOrEmptyProgramFails) {
  const std::string missing = directory_.path() + "\\missing.exe";
  const platform::Status started = host_->StartProgram(missing, "\"" + missing + "\" /q", " /q");
  ASSERT_THAT(started, FailsWith(ERROR_FILE_NOT_FOUND));
  EXPECT_THAT(started.failure().description(),
              testing::StartsWith("cannot start \"" + missing + "\" /q: "));
  EXPECT_THAT(host_->StartProgram("", "", ""), FailsWith(ERROR_PATH_NOT_FOUND));
  // A directory: Windows refuses it as access denied, Wine as an invalid handle.
  EXPECT_THAT(host_->StartProgram(directory_.path(), directory_.path(), ""),
              FailsWith(testing::AnyOf(ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE)));
}

// CreateProcessA starts a program path of up to 259 characters and a
// command line of up to 32,766; the simulated host refuses just where it
// does.
TEST_F(ProgramStartTest, RefusesWhereTheSimulatedHostRefuses) {
  const std::string probe = AddProbe("probe.exe");
  const struct {
    size_t path_length;  // 0: the probe as it lies
    size_t command_line_length;
    std::int32_t simulated_refusal;  // 0: started
  } cases[] = {{259, 300, 0},
               {260, 300, platform::error::kFilenameTooLong},
               {0, 32766, 0},
               {0, 32767, platform::error::kInvalidParameter}};
  int started = 0;
  for (const auto& c : cases) {
    // The name that makes the path as long as the case wants.
    const std::string program =
        c.path_length == 0
            ? probe
            : AddProbe(std::string(c.path_length - directory_.path().size() - 5, 'p') + ".exe");
    const std::string quoted = "\"" + program + "\"";
    const std::string arguments = " " + std::string(c.command_line_length - quoted.size() - 1, 'x');
    const std::string command_line = quoted + arguments;
    platform::SimulatedHost simulated;
    simulated.AddFile(program, "");
    const platform::Status simulated_start =
        simulated.StartProgram(program, command_line, arguments);
    // Wine's own numbers are not Windows' (a long path is "not found"): only
    // the simulated host's are checked.
    EXPECT_EQ(simulated_start.ok() ? 0 : simulated_start.failure().number(), c.simulated_refusal);
    const bool refused = !simulated_start.ok();
    const bool real_started = host_->StartProgram(program, command_line, arguments).ok();
    EXPECT_NE(real_started, refused) << program.size() << " " << command_line.size();
    if (real_started) ++started;
  }
  EXPECT_EQ(started, 2);
  for (int i = 0; i < 600 && static_cast<int>(WaitForRecords().size()) < started; ++i) Sleep(50);
  EXPECT_EQ(WaitForRecords().size(), 2u);
}

struct LaunchCase {
  const char* label;
  std::vector<std::string> probes;  // relative to the install directory
  std::string launch_value;
  std::string started;    // relative to the install directory
  std::string arguments;  // what follows the quoted program
};

// The install directory, "...\Program Files\Disc Tools", has a blank at each
// level; a program planted at either prefix must never run.
TEST_F(ProgramStartTest, LaunchValueStartsOnlyWhatItNames) {
  AddProbe("..\\..\\Program.exe");
  AddProbe("..\\Disc.exe");
  const LaunchCase cases[] = {
      {"plain", {"start.exe"}, "start.exe", "start.exe", ""},
      {"arguments", {"apps\\setup.exe"}, "apps\\setup.exe /q /n", "apps\\setup.exe", " /q /n"},
      {"extension added", {"apps\\setup.exe"}, "apps\\setup /q", "apps\\setup.exe", " /q"},
      {"blank in the name", {"My Setup.exe"}, "My Setup.exe /q", "My Setup.exe", " /q"},
      {"shortest prefix first", {"My.exe", "My Setup.exe"}, "My Setup.exe", "My.exe", " Setup.exe"},
  };
  for (const LaunchCase& test : cases) {
    SCOPED_TRACE(test.label);
    win32_test::TempDirectory records("records");
    SetEnvironmentVariableA("LAUNCHER_TEST_PROBE_DIR", records.path().c_str());
    for (const std::string& probe : test.probes) AddProbe(probe);

    ASSERT_THAT(checker::StartLaunchValue(*host_, directory_.path() + "\\", test.launch_value),
                Succeeds());

    const std::vector<Record> started_records = WaitForRecords(records, ".");
    ASSERT_EQ(started_records.size(), 1u);
    const Record& record = started_records[0];
    const std::string started = directory_.path() + "\\" + test.started;
    EXPECT_EQ(record.program, started);
    EXPECT_EQ(record.command_line, "\"" + started + "\"" + test.arguments);
    // The probe may still be ending; its file can go once it has.
    for (const std::string& probe : test.probes) {
      const std::string path = directory_.path() + "\\" + probe;
      for (int i = 0; i < 600 && !DeleteFileA(path.c_str()); ++i) Sleep(50);
    }
  }
}

TEST_F(ProgramStartTest, LaunchValueNamingNothingFails) {
  AddProbe("..\\Disc.exe");
  EXPECT_THAT(checker::StartLaunchValue(*host_, directory_.path() + "\\", "missing.exe /q"),
              FailsWith(platform::error::kFileNotFound));
  EXPECT_THAT(checker::StartLaunchValue(*host_, directory_.path() + "\\", ""),
              FailsWith(platform::error::kFileNotFound));
  Sleep(200);
  EXPECT_TRUE(directory_.Files("records").empty());
}

// Wine has no User Account Control: these stand-ins play a host that has,
// refusing CreateProcessA the way it refuses a program that needs elevation,
// and record what reaches the shell before the real shell starts it.
DWORD create_process_error = 0;
DWORD shell_error = 0;  // 0: the real ShellExecuteExA answers
struct ShellCall {
  std::string file;
  std::string parameters;
  bool verb;
  int show;
  ULONG mask;
};
std::vector<ShellCall> shell_calls;

BOOL WINAPI RefusingCreateProcess(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                  DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
  SetLastError(create_process_error);
  return FALSE;
}

BOOL WINAPI RecordingShellExecute(SHELLEXECUTEINFOA* info) {
  shell_calls.push_back({info->lpFile,
                         info->lpParameters != nullptr ? info->lpParameters : "(none)",
                         info->lpVerb != nullptr, info->nShow, info->fMask});
  if (shell_error == 0) return ShellExecuteExA(info);
  SetLastError(shell_error);
  return FALSE;
}

// A mapped network drive, as the shell is asked to elevate a program on it:
// played by the calls, so the shell is asked but starts nothing (declined).
std::string remote_drive;  // "Z:\\" or empty
std::string asked_drive;
UINT WINAPI PlayedDriveType(LPCSTR root) {
  asked_drive = root;
  return root == remote_drive ? DRIVE_REMOTE : DRIVE_FIXED;
}
DWORD WINAPI PlayedUniversalName(LPCSTR path, DWORD level, LPVOID buffer, LPDWORD size) {
  if (level != UNIVERSAL_NAME_INFO_LEVEL || path[0] != 'Z') return ERROR_NOT_CONNECTED;
  static std::string name;
  name = std::string("\\\\server\\share") + (path + 2);
  auto* info = static_cast<UNIVERSAL_NAME_INFOA*>(buffer);
  if (*size < sizeof(*info)) return ERROR_MORE_DATA;
  info->lpUniversalName = name.data();
  return NO_ERROR;
}

TEST(ElevationTest, ProgramOnANetworkDriveGoesToTheShellByItsSharesName) {
  const struct {
    const char* program;
    const char* remote;
    const char* file;  // as the shell gets it
  } cases[] = {
      {"Z:\\disc\\setup.exe", "Z:\\", "\\\\server\\share\\disc\\setup.exe"},
      {"Z:\\disc\\setup.exe", "", "Z:\\disc\\setup.exe"},  // a local drive
      {"Y:\\disc\\setup.exe", "Y:\\", "Y:\\disc\\setup.exe"},  // no share's name to be had
      {"\\\\server\\share\\setup.exe", "Z:\\", "\\\\server\\share\\setup.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    remote_drive = c.remote;
    create_process_error = platform::kErrorElevationRequired;
    shell_error = ERROR_CANCELLED;
    shell_calls.clear();
    platform::ProgramStartCalls calls;
    calls.create_process = &RefusingCreateProcess;
    calls.shell_execute = &RecordingShellExecute;
    calls.get_drive_type = &PlayedDriveType;
    calls.get_universal_name = &PlayedUniversalName;
    EXPECT_THAT(platform::StartProgramOrElevate(calls, c.program, c.program, ""),
                FailsWith(ERROR_CANCELLED));
    ASSERT_EQ(shell_calls.size(), 1u);
    EXPECT_EQ(shell_calls[0].file, c.file);
  }
}

TEST_F(ProgramStartTest, ProgramNeedingElevationStartsThroughTheShell) {
  const std::string probe = AddProbe("apps\\setup.exe");
  const std::string quoted = "\"" + probe + "\"";
  const struct {
    const char* label;
    DWORD create_process_error;
    bool recorded;  // false: the host's own lookup of ShellExecuteExA
    DWORD shell_error;
    std::string launch_value;
    std::string arguments;   // what follows the program in it
    std::string parameters;  // as the shell gets them
    DWORD failure;           // 0: started
  } cases[] = {
      {"elevated with arguments", platform::kErrorElevationRequired, true, 0, "apps\\setup /q  two",
       " /q  two", "/q  two", 0},
      {"elevated without arguments", platform::kErrorElevationRequired, true, 0, "apps\\setup.exe",
       "", "(none)", 0},
      {"shell from the system directory", platform::kErrorElevationRequired, false, 0,
       "apps\\setup.exe /q", " /q", "", 0},
      {"consent refused", platform::kErrorElevationRequired, true, ERROR_CANCELLED,
       "apps\\setup.exe /q", " /q", "/q", ERROR_CANCELLED},
      {"other failures stay failures", ERROR_ACCESS_DENIED, true, 0, "apps\\setup.exe /q", " /q",
       "", ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    win32_test::TempDirectory records("records");
    SetEnvironmentVariableA("LAUNCHER_TEST_PROBE_DIR", records.path().c_str());
    create_process_error = c.create_process_error;
    shell_error = c.shell_error;
    shell_calls.clear();
    platform::ProgramStartCalls calls;
    calls.create_process = &RefusingCreateProcess;
    if (c.recorded) calls.shell_execute = &RecordingShellExecute;
    auto host = platform::NewWin32Host(calls);
    const platform::Status outcome =
        checker::StartLaunchValue(*host, directory_.path() + "\\", c.launch_value);
    if (c.failure == 0) {
      EXPECT_THAT(outcome, Succeeds());
    } else {
      EXPECT_THAT(outcome, FailsWith(static_cast<std::int32_t>(c.failure)));
    }
    if (c.failure != 0 && !outcome.ok()) {
      const platform::Failure& failure = outcome.failure();
      const std::string start = "cannot start " + quoted + c.arguments + ": ";
      EXPECT_EQ(failure.description().rfind(start, 0), 0u) << failure.description();
      if (c.shell_error != 0) {
        // Both refusals are named.
        EXPECT_NE(failure.description().find(platform::SystemMessage(c.create_process_error)),
                  std::string::npos)
            << failure.description();
        EXPECT_NE(failure.description().find(platform::SystemMessage(c.shell_error)),
                  std::string::npos)
            << failure.description();
      }
    }
    if (c.recorded) {
      const bool asked = c.create_process_error == platform::kErrorElevationRequired;
      ASSERT_EQ(shell_calls.size(), asked ? 1u : 0u);
      if (asked) {
        const ShellCall& call = shell_calls[0];
        EXPECT_EQ(call.file, probe);
        EXPECT_EQ(call.parameters, c.parameters);
        EXPECT_FALSE(call.verb);  // the default verb elevates only what needs it
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
        // The launcher ends right after: the shell must not finish later.
        EXPECT_NE(call.mask & SEE_MASK_NOASYNC, 0u);
      }
    }
    if (c.failure == 0) {
      // The program ran with the command line a direct start gives it.
      const std::vector<Record> started = WaitForRecords(records, ".");
      ASSERT_EQ(started.size(), 1u);
      EXPECT_EQ(started[0].program, probe);
      EXPECT_EQ(started[0].command_line, quoted + c.arguments);
    }
  }
}

TEST(OwnDirectoryTest, IsTheProgramsDirectory) {
  auto host = platform::NewWin32Host();
  EXPECT_THAT(host->OwnDirectory(), platform::Holds(win32_test::ProgramDirectory()));
}

TEST(OwnDirectoryTest, KeepsBackslashOnlyAtDriveRoot) {
  platform::SimulatedHost japanese;
  japanese.UseCodePage932();
  const platform::LeadBytes code_page_932 = japanese.SystemLeadBytes();
  const struct {
    std::string module;
    platform::LeadBytes lead;
    std::string directory;
  } cases[] = {
      {"C:\\Apps\\Launcher\\launcher.exe", {}, "C:\\Apps\\Launcher"},
      {"D:\\launcher.exe", {}, "D:\\"},
      {"D:\\Disc Tools\\launcher.exe", {}, "D:\\Disc Tools"},
      {"\\\\server\\share\\launcher.exe", {}, "\\\\server\\share"},
      // "ソ" (0x83 0x5C), in a directory's name and in the program's.
      {"D:\\Disc \x83\x5C\\launcher.exe", code_page_932, "D:\\Disc \x83\x5C"},
      {"D:\\Disc\\\x83\x5C.exe", code_page_932, "D:\\Disc"},
      {"D:\\\x83\x5C.exe", code_page_932, "D:\\"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(platform::DirectoryOfModule(test.module, test.lead), test.directory) << test.module;
  }
}

}  // namespace
