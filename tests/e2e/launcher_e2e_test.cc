// launcher.exe run whole under Wine: each test lays out a directory with a
// launch.ini and the probe, sets the Windows version Wine reports and the
// Office registry value, runs the launcher and looks at what it started.
// Every run also checks that the launcher wrote nothing and showed no window
// but its error report.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "com_registration.h"
#include "com_server/test_server_ids.h"
#include "e2e_support.h"
#include "launcher_directory.h"
#include "launcher_run.h"
#include "registry_state.h"

namespace e2e {
namespace {

::testing::Environment* const desktop_keeper =
    ::testing::AddGlobalTestEnvironment(new DesktopKeeper);

// What a run started, and how it ended.
struct Outcome {
  LauncherRun run;
  std::string record;  // the probe's record: its path and command line
};

class LauncherEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDirectory(std::make_unique<LauncherDirectory>(ProgramsDirectory()));
    RemoveOfficeValue();
    SetWindowsVersion("winxp");
    // Only the tests that register the test server have a word processor.
    ASSERT_TRUE(SnapshotRegistry(HKEY_CLASSES_ROOT, "word.application").empty());
  }

  void TearDown() override {
    RemoveOfficeValue();
    DeleteRegistryTree(HKEY_CURRENT_USER, kWineVersionKey);
    SetEnvironmentVariableA("LAUNCHER_E2E_RECORD", nullptr);
    directory_.reset();
  }

  // Lays the test out in `directory` from now on.
  void UseDirectory(std::unique_ptr<LauncherDirectory> directory) {
    directory_ = std::move(directory);
    SetEnvironmentVariableA("LAUNCHER_E2E_RECORD", directory_->record().c_str());
  }

  static void SetWindowsVersion(const std::string& version) {
    SetRegistryText(HKEY_CURRENT_USER, kWineVersionKey, "Version", version);
  }

  // The record the probe writes when started as `relative` with `arguments`
  // (the rest of the launch value, leading blank included).
  std::string ProbeRecord(const std::string& relative, const std::string& arguments) const {
    const std::string program = directory_->path() + "\\" + relative;
    return program + "\n\"" + program + "\"" + arguments + "\n";
  }

  // Runs the launcher from another working directory and checks what every
  // run must hold: it ended, it left directory and registry as they were, and
  // showed no window other than message boxes.
  // `leftover_ms`: see RunLauncher.
  Outcome Run(unsigned long leftover_ms = 0) const {
    const std::string listing = directory_->Listing();
    const std::map<std::string, std::string> registry = RegistryTheLauncherSees();
    Outcome outcome;
    outcome.run =
        RunLauncher(directory_->launcher(), directory_->records(), kRunTimeoutMs, leftover_ms);
    EXPECT_TRUE(outcome.run.finished) << "launcher still running after the time-out";
    EXPECT_EQ(directory_->Listing(), listing) << "the launcher changed its directory";
    EXPECT_EQ(RegistryTheLauncherSees(), registry) << "the launcher changed the registry";
    EXPECT_TRUE(outcome.run.visible_windows.empty())
        << "visible window: " << outcome.run.visible_windows.front();
    outcome.record = directory_->Record();
    return outcome;
  }

  // A run that must start exactly one program, the probe, and end with 0.
  // Under Wine the launcher itself starts a local COM server: `servers`.
  void ExpectStarted(const Outcome& outcome, const std::string& record,
                     unsigned long servers = 0) const {
    EXPECT_EQ(outcome.record, record);
    EXPECT_EQ(outcome.run.exit_code, 0u);
    EXPECT_EQ(outcome.run.processes, 2u + servers) << "launcher, servers and one program";
    EXPECT_TRUE(outcome.run.message_boxes.empty()) << outcome.run.message_boxes.front();
  }

  std::unique_ptr<LauncherDirectory> directory_;
};

// --- The host label for every Windows version Wine can report ---

struct VersionCase {
  const char* wine_version;
  const char* label;
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.wine_version; }

class HostLabel : public LauncherEndToEnd, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(HostLabel, StartsTheEntryOfTheLabelsSection) {
  // Each section names its own label, so the record shows which one was read.
  std::string config;
  for (const char* label : {"win95", "win98", "winme", "winnt", "win2k", "winxp", "winvista"}) {
    config += Ini({("[" + std::string(label) + "LaunchFiles]").c_str(),
                   ("11=probe.exe " + std::string(label)).c_str()});
  }
  directory_->WriteConfig(
      config + Ini({"[defaultLaunchFiles]", "11=probe.exe default", "default=probe.exe fallback"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  SetWindowsVersion(GetParam().wine_version);
  ExpectStarted(Run(), ProbeRecord("probe.exe", std::string(" ") + GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(
    EveryWineVersion, HostLabel,
    ::testing::Values(VersionCase{"win31", "default"},  // 3.10: minor not 0
                      VersionCase{"win95", "winnt"},    // 4.0, like NT 4
                      VersionCase{"win98", "win98"}, VersionCase{"winme", "winme"},
                      VersionCase{"nt40", "winnt"}, VersionCase{"win2k", "win2k"},
                      VersionCase{"winxp", "winxp"}, VersionCase{"winxp64", "winxp"},
                      VersionCase{"win2003", "winxp"}, VersionCase{"vista", "winvista"},
                      VersionCase{"win7", "default"}, VersionCase{"win8", "default"},
                      VersionCase{"win81", "default"}, VersionCase{"win10", "default"}),
    [](const ::testing::TestParamInfo<VersionCase>& info) {
      return std::string(info.param.wine_version);
    });

// --- Where the Office version comes from ---

struct OfficeCase {
  const char* name;
  void (*set_up)();
  const char* started;  // the probe's arguments
};

void PrintTo(const OfficeCase& c, std::ostream* out) { *out << c.name; }

class OfficeVersion : public LauncherEndToEnd, public ::testing::WithParamInterface<OfficeCase> {};

TEST_P(OfficeVersion, PicksTheKey) {
  directory_->WriteConfig(
      Ini({"[winxpLaunchFiles]", "9=probe.exe key 9", "11=probe.exe key 11", "12=probe.exe key 12",
           "[defaultLaunchFiles]", "default=probe.exe default entry"}));
  GetParam().set_up();
  ExpectStarted(Run(), ProbeRecord("probe.exe", std::string(" ") + GetParam().started));
}

INSTANTIATE_TEST_SUITE_P(
    FromTheRegistry, OfficeVersion,
    ::testing::Values(
        OfficeCase{"Number",
                   [] { SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 12); },
                   "key 12"},
        OfficeCase{"Text",
                   [] { SetRegistryText(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, "11"); },
                   "key 11"},
        // A registry text is taken whole: "11.0" is numeric but names no key.
        OfficeCase{"TextWithFraction",
                   [] { SetRegistryText(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, "11.0"); },
                   "default entry"},
        // Not numeric: the main path fails and the fallback starts the default.
        OfficeCase{"TextNotNumeric",
                   [] { SetRegistryText(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, "Office"); },
                   "default entry"},
        // Missing, and no word processor to ask: the fallback again.
        OfficeCase{"MissingWithoutWordProcessor", [] {}, "default entry"}),
    [](const ::testing::TestParamInfo<OfficeCase>& info) { return std::string(info.param.name); });

// --- The word processor, asked when the registry gives no version ---

struct WordCase {
  const char* name;
  void (*set_up)();
  const char* started;          // the probe's arguments
  DWORD quit_calls;             // calls of `quit` the server records
  bool out_of_process = false;  // the local server instead of the DLL
  bool never_answers = false;   // a call never returns: the launcher's bound ends it
};

// Longer than the launcher could wait: such a call never returns for it.
constexpr DWORD kNever = 120000;

void PrintTo(const WordCase& c, std::ostream* out) { *out << c.name; }
std::string WordCaseName(const ::testing::TestParamInfo<WordCase>& info) { return info.param.name; }

// The automation test server registered as "word.application".
class WordProcessor : public LauncherEndToEnd, public ::testing::WithParamInterface<WordCase> {
 protected:
  void SetUp() override {
    LauncherEndToEnd::SetUp();
    word_ = std::make_unique<win32_test::ComRegistration>(
        "word.application",
        GetParam().out_of_process ? win32_test::LocalServerPath() : win32_test::TestServerPath());
  }
  void TearDown() override {
    word_.reset();
    LauncherEndToEnd::TearDown();
  }

 private:
  std::unique_ptr<win32_test::ComRegistration> word_;
};

TEST_P(WordProcessor, PicksTheKey) {
  directory_->WriteConfig(
      Ini({"[winxpLaunchFiles]", "9=probe.exe key 9", "11=probe.exe key 11", "12=probe.exe key 12",
           "[defaultLaunchFiles]", "default=probe.exe default entry"}));
  GetParam().set_up();
  // A server left inside a call gets a few seconds after the launcher ended.
  const Outcome outcome = Run(GetParam().never_answers ? 5000 : 0);
  // 30 s from the start of the object's creation to the end of quit, and
  // the start and end of the launcher itself.
  EXPECT_LT(outcome.run.launcher_ms, 40000u) << "the launcher waited too long";
  ExpectStarted(outcome, ProbeRecord("probe.exe", std::string(" ") + GetParam().started),
                GetParam().out_of_process ? 1 : 0);
  EXPECT_EQ(win32_test::ServerQuitCalls(), GetParam().quit_calls);
  if (GetParam().quit_calls > 0) {
    EXPECT_EQ(win32_test::ServerQuitArgument(), 0u) << "quit must save nothing and ask nothing";
  }
  if (!GetParam().never_answers) {
    EXPECT_EQ(win32_test::ServerLiveObjects(), 0u) << "the launcher kept an object";
  }
}

INSTANTIATE_TEST_SUITE_P(
    WhenTheRegistryHasNone, WordProcessor,
    ::testing::Values(
        WordCase{"Version", [] { win32_test::SetServerVersion("9.0"); }, "key 9", 1},
        WordCase{"LongVersion", [] { win32_test::SetServerVersion("12.0.4518"); }, "key 12", 1},
        // A value of another type counts as missing.
        WordCase{"BinaryRegistryValue",
                 [] {
                   SetRegistryBinary(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue,
                                     std::string("\x0b\0\0\0", 4));
                   win32_test::SetServerVersion("11.0");
                 },
                 "key 11", 1},
        // No version to read: the fallback starts the default entry; no quit.
        WordCase{"VersionFails", [] { win32_test::SetServerVersionFails(); }, "default entry", 0},
        // The version is read; a failed quit does not change it.
        WordCase{"QuitFails",
                 [] {
                   win32_test::SetServerVersion("9.0");
                   win32_test::SetServerQuitFails();
                 },
                 "key 9", 1},
        // A registry number is used without asking.
        WordCase{"RegistryNumberFirst",
                 [] {
                   SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 12);
                   win32_test::SetServerVersion("9.0");
                 },
                 "key 12", 0},
        // A DLL whose call never returns: the bound holds without COM's help.
        WordCase{"NeverAnswersVersion",
                 [] {
                   win32_test::SetServerVersion("9.0");
                   win32_test::SetServerVersionDelay(kNever);
                 },
                 "default entry", 0, false, true}),
    WordCaseName);

// The local server, where a word processor that is slow to answer would be.
INSTANTIATE_TEST_SUITE_P(OutOfProcess, WordProcessor,
                         ::testing::Values(
                             // Still starting, it rejects the first calls.
                             WordCase{"RejectsFirstCalls",
                                      [] {
                                        win32_test::SetServerVersion("9.0");
                                        win32_test::SetServerRejectCalls(3);
                                      },
                                      "key 9", 1, true},
                             // Never answers, never makes its object (held by
                             // a dialog), never quits: the bound ends each wait.
                             WordCase{"NeverAnswersVersion",
                                      [] {
                                        win32_test::SetServerVersion("9.0");
                                        win32_test::SetServerVersionDelay(kNever);
                                      },
                                      "default entry", 0, true, true},
                             WordCase{"NeverCreatesItsObject",
                                      [] {
                                        win32_test::SetServerVersion("9.0");
                                        win32_test::SetServerCreateDelay(kNever);
                                      },
                                      "default entry", 0, true, true},
                             // The version is read: its entry starts.
                             WordCase{"NeverQuits",
                                      [] {
                                        win32_test::SetServerVersion("9.0");
                                        win32_test::SetServerQuitDelay(kNever);
                                      },
                                      "key 9", 0, true, true}),
                         WordCaseName);

// --- Which entry is started ---

TEST_F(LauncherEndToEnd, PrimaryEntryKeepsItsArguments) {
  directory_->AddProbe("my apps\\probe.exe");
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", "11=my apps\\probe.exe /q  \"two words\"",
                               "[defaultLaunchFiles]", "default=probe.exe default entry"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  ExpectStarted(Run(), ProbeRecord("my apps\\probe.exe", " /q  \"two words\""));
}

TEST_F(LauncherEndToEnd, PairWithoutEntryStartsTheDefaultEntry) {
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", "12=probe.exe key 12",
                               "11=", "[defaultLaunchFiles]", "default=probe.exe default entry"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  ExpectStarted(Run(), ProbeRecord("probe.exe", " default entry"));
}

TEST_F(LauncherEndToEnd, ConfigWithUnixLineEndsMatchesNothing) {
  // A lone line feed ends no line: the whole file is one line, and no header.
  directory_->WriteConfig("[winxpLaunchFiles]\n11=probe.exe key 11\n");
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  const Outcome outcome = Run();
  EXPECT_EQ(outcome.record, "");
  EXPECT_EQ(outcome.run.processes, 1u);
  EXPECT_EQ(outcome.run.exit_code, 1u);
  ASSERT_EQ(outcome.run.message_boxes.size(), 1u);
  // No section and no default entry: the empty default names no program.
  EXPECT_EQ(outcome.run.message_boxes.front().rfind("launcher|Error 2:", 0), 0u)
      << outcome.run.message_boxes.front();
}

TEST_F(LauncherEndToEnd, FailedStartFallsBackToTheDefaultEntry) {
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", "11=missing.exe /q", "[defaultLaunchFiles]",
                               "default=probe.exe default entry"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  ExpectStarted(Run(), ProbeRecord("probe.exe", " default entry"));
}

TEST_F(LauncherEndToEnd, FailedFallbackIsReportedAndStartsNothing) {
  directory_->WriteConfig(
      Ini({"[winxpLaunchFiles]", "11=missing.exe /q", "[defaultLaunchFiles]", "default=gone.exe"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  const Outcome outcome = Run();
  EXPECT_EQ(outcome.record, "");
  EXPECT_EQ(outcome.run.processes, 1u) << "nothing but the launcher ran";
  EXPECT_EQ(outcome.run.exit_code, 1u);
  ASSERT_EQ(outcome.run.message_boxes.size(), 1u);
  // "caption|text": the error number (ERROR_FILE_NOT_FOUND), then what failed.
  const std::string& report = outcome.run.message_boxes.front();
  EXPECT_EQ(report.rfind("launcher|Error 2:", 0), 0u) << report;
  EXPECT_NE(report.find("cannot start " + directory_->path() + "\\gone.exe"), std::string::npos)
      << report;
}

TEST_F(LauncherEndToEnd, MissingConfigIsReportedAndStartsNothing) {
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  const Outcome outcome = Run();
  EXPECT_EQ(outcome.run.processes, 1u);
  EXPECT_EQ(outcome.run.exit_code, 1u);
  ASSERT_EQ(outcome.run.message_boxes.size(), 1u);
  EXPECT_EQ(outcome.run.message_boxes.front().rfind("launcher|Error 2:", 0), 0u)
      << outcome.run.message_boxes.front();
}

// --- In a double-byte code page: Japanese Windows ---

// In code page 932, "ソ" (0x83 0x5C) ends in the byte of "\", and the
// long-vowel mark of "ツール" (0x83 0x63 0x81 0x5B 0x83 0x8B) in that of "[".
struct DoubleByteCase {
  const char* name;
  const char* install_name;  // these three in code page 932
  const char* launcher_name;
  const char* program;  // where the entry's program lies, relative
};

void PrintTo(const DoubleByteCase& c, std::ostream* out) { *out << c.name; }

// Run as a test of its own, under Wine in a Japanese locale: a Wine process
// takes its code page from its own locale, and what it starts inherits it.
class CodePage932 : public LauncherEndToEnd, public ::testing::WithParamInterface<DoubleByteCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "needs Wine in code page 932: LANG and LC_ALL ja_JP.UTF-8, "
                                 "with that locale generated (scripts/ensure-locale.sh)";
    LauncherEndToEnd::SetUp();
  }
};

TEST_P(CodePage932, StartsTheEntry) {
  const DoubleByteCase& c = GetParam();
  UseDirectory(
      std::make_unique<LauncherDirectory>(ProgramsDirectory(), c.install_name, c.launcher_name));
  if (std::string(c.program) != "probe.exe") directory_->AddProbe(c.program);
  // Wine reports Windows XP only to a program named launcher.exe; others
  // are labelled default.
  const std::string entry = std::string("11=") + c.program + " key 11";
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", entry, "[defaultLaunchFiles]", entry,
                               "default=probe.exe default entry"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  ExpectStarted(Run(), ProbeRecord(c.program, " key 11"));
}

INSTANTIATE_TEST_SUITE_P(
    DoubleByteNames, CodePage932,
    ::testing::Values(DoubleByteCase{"DirectoryEndingInSo", "Disc \x83\x5C", "launcher.exe",
                                     "probe.exe"},
                      DoubleByteCase{"LauncherNameWithSo", "Disc Tools",
                                     "\x83\x5C\x83\x74\x83\x67.exe", "probe.exe"},
                      DoubleByteCase{"ValueWithLongVowelMark", "Disc Tools", "launcher.exe",
                                     "\x83\x63\x81\x5B\x83\x8B\\probe.exe"}),
    [](const ::testing::TestParamInfo<DoubleByteCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace e2e
