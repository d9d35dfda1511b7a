// launcher.exe run whole under Wine on hostile input: broken or huge
// launch.ini files, registry values of every type and size, launch values
// Windows cannot start, and DLLs planted beside the launcher. Every case ends
// in one of three outcomes: the entry it names is started, the default entry
// is started instead, or the error report is shown and the launcher exits
// with 1 having started nothing. Every run also leaves the launcher's
// directory and the registry as they were. Last, memory running out in the
// launcher's own runtime.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "com_registration.h"
#include "com_server/test_server_ids.h"
#include "e2e_support.h"
#include "launcher_directory.h"
#include "launcher_run.h"
#include "registry_state.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// A command line longer than Windows accepts (32,767 characters).
constexpr size_t kTooLong = 40000;

// The configuration most cases use: the pair winxp / 11 and a default.
std::string StandardConfig() {
  return Ini({"[winxpLaunchFiles]", "0=probe.exe key 0", "11=probe.exe key 11",
              "[defaultLaunchFiles]", "default=probe.exe default entry"});
}

// The Office value with any type and exactly these bytes.
void SetOfficeValue(DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOfficeKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const LONG status =
      RegSetValueExA(key, kOfficeValue, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  ASSERT_EQ(status, ERROR_SUCCESS) << "type " << type << ", " << bytes.size() << " bytes";
}

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

::testing::Environment* const desktop_keeper =
    ::testing::AddGlobalTestEnvironment(new DesktopKeeper);

// What a case must end in: the probe started with `arguments` (after
// "probe.exe"), or, when they are null, the error report of failure `report`.
struct Expected {
  Expected(const char* arguments) : arguments(arguments) {}  // NOLINT: most rows start the probe
  explicit Expected(DWORD report) : report(report) {}
  const char* arguments = nullptr;
  DWORD report = 0;
};
// Of a default entry that names no program, or of none at all.
const Expected kNoProgramReport(DWORD{ERROR_FILE_NOT_FOUND});

class Adversarial : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::make_unique<LauncherDirectory>(ProgramsDirectory());
    SetEnvironmentVariableA("LAUNCHER_E2E_RECORD", directory_->record().c_str());
    RemoveOfficeValue();
    SetRegistryText(HKEY_CURRENT_USER, kWineVersionKey, "Version", "winxp");
    ASSERT_TRUE(SnapshotRegistry(HKEY_CLASSES_ROOT, "word.application").empty());
  }

  void TearDown() override {
    RemoveOfficeValue();
    DeleteRegistryTree(HKEY_CURRENT_USER, kWineVersionKey);
    SetEnvironmentVariableA("LAUNCHER_E2E_RECORD", nullptr);
    directory_.reset();
  }

  fs::path Install() const { return fs::path(directory_->path()); }

  // Runs the launcher (from another directory unless `from_own` says so, as
  // when it is double-clicked) and checks what every run must hold, then the
  // outcome.
  void RunAndExpect(Expected expected, bool from_own = false) const {
    const std::string listing = directory_->Listing();
    const std::map<std::string, std::string> registry = RegistryTheLauncherSees();
    const LauncherRun run =
        RunLauncher(directory_->launcher(), from_own ? directory_->path() : directory_->records(),
                    kRunTimeoutMs);
    ASSERT_TRUE(run.finished) << "launcher still running after the time-out";
    EXPECT_EQ(directory_->Listing(), listing) << "the launcher changed its directory";
    EXPECT_EQ(RegistryTheLauncherSees(), registry) << "the launcher changed the registry";
    EXPECT_TRUE(run.visible_windows.empty()) << run.visible_windows.front();
    const std::string record = directory_->Record();
    if (expected.arguments == nullptr) {
      EXPECT_EQ(record, "") << "started something";
      EXPECT_EQ(run.processes, 1u) << "nothing but the launcher ran";
      EXPECT_EQ(run.exit_code, 1u);
      ASSERT_EQ(run.message_boxes.size(), 1u);
      EXPECT_EQ(run.message_boxes.front().rfind(
                    "launcher|Error " + std::to_string(expected.report) + ":", 0),
                0u)
          << run.message_boxes.front();
    } else {
      const std::string program = directory_->path() + "\\probe.exe";
      EXPECT_EQ(record, program + "\n\"" + program + "\"" + expected.arguments + "\n");
      EXPECT_EQ(run.exit_code, 0u);
      EXPECT_EQ(run.processes, 2u) << "launcher and one program";
      EXPECT_TRUE(run.message_boxes.empty()) << run.message_boxes.front();
    }
  }

  std::unique_ptr<LauncherDirectory> directory_;
};

// --- launch.ini itself ---

struct ConfigCase {
  const char* name;
  void (*lay_out)(const fs::path& install);
  Expected expected;
};
void PrintTo(const ConfigCase& c, std::ostream* out) { *out << c.name; }

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// `header`, then filler lines that never match up to `total` bytes, then
// the rest of the standard configuration: the entry stands at the very end.
void WriteHugeConfig(const fs::path& install, size_t total) {
  std::ofstream out(install / "launch.ini", std::ios::binary);
  out << "[winxpLaunchFiles]\r\n";
  std::string block;
  const std::string line = "110=apps\\office2003\\setup.exe /q /x\r\n";  // never key 11
  while (block.size() < (1u << 20)) block += line;
  for (size_t written = 0; written < total; written += block.size()) out << block;
  out << "11=probe.exe key 11\r\n[defaultLaunchFiles]\r\ndefault=probe.exe default entry\r\n";
}

// `head`, then 1.5 GiB of NUL bytes without a line end: one line of more
// than a gigabyte, which the file system keeps sparse. (The library's
// resize_file crashes in the i686 test programs under Wine.)
void WriteGigabyteLine(const fs::path& install, const std::string& head) {
  WriteBytes(install / "launch.ini", head);
  HANDLE file = CreateFileW((install / "launch.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = (LONGLONG{3} << 29) + static_cast<LONGLONG>(head.size());
  EXPECT_TRUE(file != INVALID_HANDLE_VALUE && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) &&
              SetEndOfFile(file));
  CloseHandle(file);
}

class HostileConfig : public Adversarial, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(HostileConfig, EndsInItsOutcome) {
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  GetParam().lay_out(Install());
  RunAndExpect(GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LaunchIni, HostileConfig,
    ::testing::Values(
        ConfigCase{"Missing", [](const fs::path&) {}, kNoProgramReport},
        ConfigCase{"Empty", [](const fs::path& d) { WriteBytes(d / "launch.ini", ""); },
                   kNoProgramReport},
        ConfigCase{"IsADirectory",
                   [](const fs::path& d) { fs::create_directory(d / "launch.ini"); },
                   kNoProgramReport},
        // 100 MiB of lines read through to the entry on the last lines.
        ConfigCase{"HundredMegabytes",
                   [](const fs::path& d) { WriteHugeConfig(d, size_t{100} << 20); }, " key 11"},
        // A 10 MiB line in the section does not hide the entry after it.
        ConfigCase{"TenMegabyteLine",
                   [](const fs::path& d) {
                     WriteBytes(d / "launch.ini", "[winxpLaunchFiles]\r\n" +
                                                      std::string(size_t{10} << 20, 'x') + "\r\n" +
                                                      StandardConfig());
                   },
                   " key 11"},
        // A line of 1.5 GiB is passed over without being held: the default
        // entry before it starts, on i686 too, where it once ran out of memory.
        ConfigCase{"GigabyteLine",
                   [](const fs::path& d) {
                     WriteGigabyteLine(d, Ini({"[defaultLaunchFiles]",
                                               "default=probe.exe default entry",
                                               "[winxpLaunchFiles]"}));
                   },
                   " default entry"},
        // An entry of 1.5 GiB is longer than any command line: a failed start.
        ConfigCase{"GigabyteEntry",
                   [](const fs::path& d) {
                     WriteGigabyteLine(d, Ini({"[defaultLaunchFiles]",
                                               "default=probe.exe default entry",
                                               "[winxpLaunchFiles]"}) +
                                              "11=probe.exe key 11 ");
                   },
                   " default entry"},
        // NUL bytes are characters like any other: a header followed by a
        // NUL is no header, a key followed by a NUL is no key.
        ConfigCase{"NulBytes",
                   [](const fs::path& d) {
                     using namespace std::string_literals;
                     WriteBytes(d / "launch.ini",
                                Ini({"\0\0\0"s, "[winxpLaunchFiles]\0junk"s,
                                     "11=probe.exe outside the section"s, "[winxpLaunchFiles]"s,
                                     "11\0=probe.exe key and NUL"s,
                                     "\0"
                                     "11=probe.exe NUL first"s,
                                     "11=probe.exe key 11"s, "[defaultLaunchFiles]"s,
                                     "default=probe.exe default entry"s}));
                   },
                   " key 11"},
        ConfigCase{"OnlyCarriageReturns",
                   [](const fs::path& d) {
                     WriteBytes(d / "launch.ini", std::string(size_t{1} << 20, '\r'));
                   },
                   kNoProgramReport},
        ConfigCase{"OnlyLineFeeds",
                   [](const fs::path& d) {
                     WriteBytes(d / "launch.ini", std::string(size_t{1} << 20, '\n'));
                   },
                   kNoProgramReport}),
    [](const ::testing::TestParamInfo<ConfigCase>& info) { return std::string(info.param.name); });

// --- The Office value in the registry ---

struct RegistryCase {
  std::string name;
  DWORD type;
  std::string bytes;
  Expected expected;
};
void PrintTo(const RegistryCase& c, std::ostream* out) { *out << c.name; }

// Every type 0 to 11 with "11" in its natural form, empty, and 40,000
// characters with and without a terminator. Only a text (1) and a 32-bit
// number (4) are read; everything else counts as missing, and with no word
// processor to ask the default entry is started.
std::vector<RegistryCase> RegistryCases() {
  using namespace std::string_literals;
  const std::string long_text(40000, '1');
  std::vector<RegistryCase> cases;
  for (DWORD type = 0; type <= 11; ++type) {
    const std::string t = "Type" + std::to_string(type);
    const bool text = type == REG_SZ;
    const bool number = type == REG_DWORD;
    std::string eleven = "11\0"s;
    if (type == REG_DWORD || type == REG_DWORD_BIG_ENDIAN) eleven = Dword(11);
    if (type == REG_QWORD) eleven = Dword(11) + Dword(0);
    if (type == REG_MULTI_SZ) eleven = "11\0\0"s;
    const char* fallback = " default entry";
    cases.push_back({t + "Eleven", type, eleven, text || number ? " key 11" : fallback});
    // An empty text, like a missing value, leaves the word processor to ask.
    // A number of no bytes reads as 0.
    cases.push_back({t + "Empty", type, "", number ? " key 0" : fallback});
    // A text whose terminator lies past 32,767 overflows; without one it is
    // taken whole and names no key. A number of 40,000 bytes is not read.
    cases.push_back({t + "LongTerminated", type, long_text + "\0"s, fallback});
    cases.push_back({t + "LongUnterminated", type, long_text, fallback});
  }
  cases.push_back({"TextWithoutTerminator", REG_SZ, "11", " key 11"});
  cases.push_back({"TextAfterNul", REG_SZ,
                   "\0"
                   "11\0"s,
                   " default entry"});
  cases.push_back({"NumberOfTwoBytes", REG_DWORD, "\x0b\0"s, " key 11"});
  cases.push_back({"NumberOfEightBytes", REG_DWORD, Dword(11) + Dword(0), " default entry"});
  cases.push_back({"NegativeNumber", REG_DWORD, Dword(0xFFFFFFF5u), " default entry"});
  return cases;
}

class HostileRegistryValue : public Adversarial,
                             public ::testing::WithParamInterface<RegistryCase> {};

TEST_P(HostileRegistryValue, EndsInItsOutcome) {
  directory_->WriteConfig(StandardConfig());
  SetOfficeValue(GetParam().type, GetParam().bytes);
  RunAndExpect(GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(OfficeVersion, HostileRegistryValue, ::testing::ValuesIn(RegistryCases()),
                         [](const ::testing::TestParamInfo<RegistryCase>& info) {
                           return info.param.name;
                         });

// --- Launch values Windows cannot start ---

struct ValueCase {
  const char* name;
  std::string value;
  Expected expected;
};
void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }

class HostileLaunchValue : public Adversarial, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(HostileLaunchValue, EndsInItsOutcome) {
  fs::create_directories(Install() / "apps");
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", "11=" + GetParam().value,
                               "[defaultLaunchFiles]", "default=probe.exe default entry"}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  RunAndExpect(GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    PrimaryEntry, HostileLaunchValue,
    ::testing::Values(
        ValueCase{"Empty", "", " default entry"},
        ValueCase{"OnlyBlanks", "     ", " default entry"},
        ValueCase{"Directory", "apps", " default entry"},
        ValueCase{"DirectoryWithSeparator", "apps\\", " default entry"},
        ValueCase{"MissingProgram", "missing.exe /q", " default entry"},
        ValueCase{"LongerThanACommandLine", "probe.exe " + std::string(kTooLong, 'a'),
                  " default entry"},
        ValueCase{"ProgramLongerThanAPath", std::string(kTooLong, 'p') + ".exe", " default entry"},
        ValueCase{"QuotedProgram", "\"probe.exe\" /q", " default entry"},
        ValueCase{"OnlyQuotes", std::string(200, '"'), " default entry"},
        ValueCase{"QuotesInArguments", "probe.exe \"\"\"a\" \"\" \"", " \"\"\"a\" \"\" \""}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST_F(Adversarial, DefaultEntryLongerThanACommandLineIsReported) {
  directory_->WriteConfig(Ini({"[winxpLaunchFiles]", "11=missing.exe", "[defaultLaunchFiles]",
                               "default=probe.exe " + std::string(kTooLong, 'a')}));
  SetRegistryDword(HKEY_LOCAL_MACHINE, kOfficeKey, kOfficeValue, 11);
  RunAndExpect(Expected(DWORD{ERROR_INVALID_PARAMETER}));
}

// --- DLLs planted beside the launcher ---

// The DLLs the launcher loads after start-up on the word processor's path
// (COM and what it needs), and one that Wine's windowing code loads by name.
constexpr const char* kPlantedNames[] = {"ole32.dll", "oleaut32.dll", "combase.dll", "rpcrt4.dll",
                                         "uxtheme.dll"};

class PlantedDll : public Adversarial {
 protected:
  void SetUp() override {
    Adversarial::SetUp();
    word_ = std::make_unique<win32_test::ComRegistration>("word.application",
                                                          win32_test::TestServerPath());
    win32_test::SetServerVersion("11.0");
  }
  void TearDown() override {
    SetEnvironmentVariableA("LAUNCHER_E2E_PLANT_RECORDS", nullptr);
    word_.reset();
    Adversarial::TearDown();
  }

 private:
  std::unique_ptr<win32_test::ComRegistration> word_;
};

TEST_F(PlantedDll, IsNeverLoaded) {
  for (const char* name : kPlantedNames) {
    fs::copy_file(ProgramsDirectory() / "adversarial_planted_dll.dll", Install() / name);
  }
  SetEnvironmentVariableA("LAUNCHER_E2E_PLANT_RECORDS", directory_->records().c_str());
  // Wine would otherwise always take its own; this makes it prefer a DLL it
  // finds on the search path, as Windows does for DLLs that are not known.
  // (Its loader reads WINEDLLOVERRIDES from the environment it was started
  // with, not from the one a parent hands over, so the setting goes into
  // launcher.exe's own Wine settings, removed with them.)
  for (const char* name : kPlantedNames) {
    const std::string module = fs::path(name).stem().string();
    SetRegistryText(HKEY_CURRENT_USER, std::string(kWineVersionKey) + "\\DllOverrides", module,
                    "native,builtin");
  }
  directory_->WriteConfig(StandardConfig());
  // No registry value: the launcher loads COM to ask the word processor.
  // Started from its own directory, as Explorer starts it, so that the
  // planted DLLs are both beside it and in the current directory.
  RunAndExpect(" key 11", true);
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u) << "the word processor was not asked";
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_->records())) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".loaded"), std::string::npos) << "planted DLL loaded: " << name;
  }
}

// --- Memory running out ---

// The runtime launcher.exe is built with, in a program that runs it out of
// memory (out_of_memory.cc): by new[], or by a string past its maximum size.
class OutOfMemory : public ::testing::TestWithParam<const char*> {};

TEST_P(OutOfMemory, EndsInTheFixedReportWithStatusOne) {
  SetEnvironmentVariableA("LAUNCHER_E2E_RUN_OUT", GetParam());
  const fs::path programs = ProgramsDirectory();
  const LauncherRun run =
      RunLauncher((programs / "e2e_out_of_memory.exe").string(), programs.string(), kRunTimeoutMs);
  SetEnvironmentVariableA("LAUNCHER_E2E_RUN_OUT", nullptr);
  ASSERT_TRUE(run.finished) << "still running after the time-out";
  EXPECT_EQ(run.message_boxes, std::vector<std::string>{"launcher|Error 8:\n\nout of memory"});
  EXPECT_TRUE(run.visible_windows.empty()) << run.visible_windows.front();
  EXPECT_EQ(run.exit_code, 1u);
}

INSTANTIATE_TEST_SUITE_P(InTheRuntime, OutOfMemory, ::testing::Values("new", "string"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace e2e
