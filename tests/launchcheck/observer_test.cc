#include "launcher/observer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../test_machine.h"
#include "launcher/main.h"

namespace checker {
namespace {

using platform::SimulatedHost;
using Events = std::vector<std::string>;

// Writes every call down as one short line.
class Recorder : public Observer {
 public:
  void LookupMade(std::string_view section, std::string_view key,
                  const std::string& value) override {
    events.push_back("lookup " + std::string(section) + " " + std::string(key) + " = " + value);
  }
  void MainPathFailed(const platform::Failure& failure) override {
    events.push_back("failed " + std::to_string(failure.number()));
  }
  void PathTaken(LaunchPath path) override {
    const char* names[] = {"primary", "default", "fallback"};
    events.push_back(std::string("path ") + names[static_cast<int>(path)]);
  }
  void CommandResolved(const std::string& command_line, const ResolvedCommand& resolved) override {
    events.push_back("start " + command_line + " | " + resolved.program + " |" +
                     resolved.arguments);
  }

  Events events;
};

Events Observe(SimulatedHost& host) {
  Recorder recorder;
  host.RunClosure([&recorder](platform::Host& h) { return Main(h, &recorder); });
  return recorder.events;
}

TEST(ObserverTest, PrimaryRunSeesOneLookupAndTheResolvedProgram) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(testing::kIni, "[winxpLaunchFiles]\r\n11=apps\\xp11 /q\r\n");
  EXPECT_EQ(Observe(host), (Events{"lookup winxpLaunchFiles 11 = apps\\xp11 /q", "path primary",
                                   "start C:\\Apps\\Launcher\\apps\\xp11 /q | "
                                   "C:\\Apps\\Launcher\\apps\\xp11.exe | /q"}));
  ASSERT_EQ(host.started().size(), 1u);
}

TEST(ObserverTest, MissingPrimaryEntrySeesTheDefaultLookup) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.SetVersion(5, 0, 2195, 2);  // win2k: no section for it
  EXPECT_EQ(Observe(host), (Events{"lookup win2kLaunchFiles 11 = ",
                                   "lookup defaultLaunchFiles default = "
                                   "apps\\fallback.exe",
                                   "path default",
                                   "start C:\\Apps\\Launcher\\apps\\fallback.exe | "
                                   "C:\\Apps\\Launcher\\apps\\fallback.exe |"}));
}

TEST(ObserverTest, FailedProbeSeesTheFailureAndTheFallbackLookup) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  testing::RemoveOffice(host);  // and no word processor to ask
  EXPECT_EQ(Observe(host),
            (Events{"failed " + std::to_string(platform::error::kClassNotFound), "path fallback",
                    "lookup defaultLaunchFiles default = apps\\fallback.exe",
                    "start C:\\Apps\\Launcher\\apps\\fallback.exe | "
                    "C:\\Apps\\Launcher\\apps\\fallback.exe |"}));
}

TEST(ObserverTest, MissingProgramFallsBackAndAFailedFallbackResolvesNothing) {
  SimulatedHost host;
  testing::SetUpStandardMachine(host);
  host.AddFile(testing::kIni,
               "[winxpLaunchFiles]\r\n11=gone.exe\r\n[defaultLaunchFiles]\r\ndefault=\r\n");
  EXPECT_EQ(Observe(host), (Events{"lookup winxpLaunchFiles 11 = gone.exe", "path primary",
                                   "failed " + std::to_string(platform::error::kFileNotFound),
                                   "path fallback", "lookup defaultLaunchFiles default = "}));
  EXPECT_TRUE(host.started().empty());
  ASSERT_TRUE(host.error_report().has_value());
  EXPECT_EQ(host.error_report()->number(), platform::error::kFileNotFound);
}

}  // namespace
}  // namespace checker
