// Automation objects through the Win32 host, against the test server
// registered for each test.
#include "platform/win32/automation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "com_registration.h"
#include "com_server/test_server_ids.h"
#include "failure_matchers.h"
#include "launcher/launch_selection.h"
#include "platform/win32/win32_host.h"
#include "probes/host_os_label.h"
#include "test_support.h"

namespace {

using platform::FailsWith;
using platform::Holds;
using platform::Succeeds;

constexpr char kProgId[] = "LauncherTest.Application";

class AutomationTest : public testing::Test {
 protected:
  // The object of kProgId; a failure to create it fails the test.
  platform::AutomationObject& Create() {
    platform::Result<platform::AutomationObject*> object = host_->CreateAutomationObject(kProgId);
    EXPECT_THAT(object, Succeeds());
    return **object;
  }

  win32_test::ComRegistration registration_{kProgId, win32_test::TestServerPath()};
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(AutomationTest, ReadsVersionAsText) {
  const struct {
    const char* label;
    void (*configure)();
    std::string expected;
  } cases[] = {
      {"text", [] { win32_test::SetServerVersion("11.0"); }, "11.0"},
      {"8-bit text", [] { win32_test::SetServerVersion("12.0 \xe9"); }, "12.0 \xe9"},
      {"number", [] { win32_test::SetServerVersionNumber(16); }, "16"},
  };
  // The 8-bit text crosses to the server and back in the system code page.
  ASSERT_EQ(GetACP(), 1252u) << "needs Wine in code page 1252 (a locale such as C.UTF-8)";
  for (const auto& test : cases) {
    SCOPED_TRACE(test.label);
    test.configure();
    EXPECT_THAT(Create().GetTextProperty("version"), Holds(test.expected));
  }
}

TEST_F(AutomationTest, FailedVersionReadCarriesTheServersException) {
  win32_test::SetServerVersionFails();
  const platform::Result<std::string> version = Create().GetTextProperty("version");
  ASSERT_THAT(version, FailsWith(test_server::kVersionFailure));
  EXPECT_THAT(version.failure().description(),
              testing::AllOf(testing::HasSubstr(test_server::kVersionFailureText),
                             testing::HasSubstr("version")));
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

TEST_F(AutomationTest, QuitIsCalledOncePerCall) {
  platform::AutomationObject& object = Create();
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
  EXPECT_THAT(object.CallMethod("quit", 0), Succeeds());
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
  EXPECT_EQ(win32_test::ServerQuitArgument(), 0u);
  EXPECT_THAT(object.CallMethod("Quit", 1), Succeeds());
  EXPECT_EQ(win32_test::ServerQuitCalls(), 2u);
  EXPECT_EQ(win32_test::ServerQuitArgument(), 1u);
}

TEST_F(AutomationTest, UnknownMemberFails) {
  platform::AutomationObject& object = Create();
  const platform::Result<std::string> build = object.GetTextProperty("build");
  ASSERT_THAT(build, FailsWith(static_cast<std::int32_t>(DISP_E_UNKNOWNNAME)));
  EXPECT_THAT(build.failure().description(), testing::HasSubstr("build"));
  EXPECT_THAT(object.CallMethod("close", 0),
              FailsWith(static_cast<std::int32_t>(DISP_E_UNKNOWNNAME)));
}

TEST_F(AutomationTest, UnknownClassFailsWithInvalidClassString) {
  const platform::Result<platform::AutomationObject*> object =
      host_->CreateAutomationObject("LauncherTest.NoSuchClass");
  ASSERT_THAT(object, FailsWith(platform::error::kClassNotFound));
  EXPECT_THAT(object.failure().description(), testing::HasSubstr("LauncherTest.NoSuchClass"));
}

TEST_F(AutomationTest, ObjectsLiveUntilTheHostReleasesThem) {
  Create();
  Create();
  EXPECT_EQ(win32_test::ServerLiveObjects(), 2u);
  host_.reset();
  EXPECT_EQ(win32_test::ServerLiveObjects(), 0u);
}

// The test server where a word processor that is still starting, or sits
// behind a dialog, would be: in another process, or a DLL whose call does
// not return. A server that answers only after the (short) bounds stands for
// one that never answers; whatever COM does meanwhile, the launcher stops
// waiting at the bound.
constexpr platform::AnswerBounds kShortBounds = {/*retry_ms=*/1500, /*answer_ms=*/3000};
// Long enough that a call stuck in the test server's DLL never returns
// while this program runs, and so touches no later test's record.
constexpr DWORD kPastTheBound = 60000;

struct SlowCase {
  const char* name;
  bool out_of_process;
  void (*set_up)();
  int answered;          // of create, "version" and "quit", in that order
  std::int32_t failure;  // of the first call not answered, and of those after it
};

void PrintTo(const SlowCase& c, std::ostream* out) { *out << c.name; }

class SlowWordProcessor : public testing::TestWithParam<SlowCase> {
 protected:
  win32_test::ComRegistration registration_{
      kProgId, GetParam().out_of_process ? win32_test::LocalServerPath()
                                         : win32_test::TestServerPath()};
};

TEST_P(SlowWordProcessor, AnswersWithinTheBoundsOrFails) {
  const SlowCase& c = GetParam();
  win32_test::SetServerVersion("11.0");
  c.set_up();
  platform::Automation automation(kShortBounds);
  const DWORD start = GetTickCount();
  platform::Result<platform::AutomationObject*> created = automation.Create(kProgId);
  if (c.answered == 0) {
    EXPECT_THAT(created, FailsWith(c.failure));
  } else {
    ASSERT_THAT(created, Succeeds());
    platform::Result<std::string> version = (*created)->GetTextProperty("version");
    if (c.answered >= 2) {
      EXPECT_THAT(version, Holds("11.0"));
    } else {
      EXPECT_THAT(version, FailsWith(c.failure));
    }
    platform::Status quit = (*created)->CallMethod("quit", 0);
    if (c.answered >= 3) {
      EXPECT_THAT(quit, Succeeds());
    } else {
      EXPECT_THAT(quit, FailsWith(c.failure));
    }
  }
  // The bound holds from the start of the creation, with a second to spare.
  EXPECT_LT(GetTickCount() - start, kShortBounds.answer_ms + 1000);
  EXPECT_EQ(win32_test::ServerQuitCalls(), c.answered >= 3 ? 1u : 0u);
}

std::string SlowCaseName(const testing::TestParamInfo<SlowCase>& info) { return info.param.name; }

const auto kNoAnswer = static_cast<std::int32_t>(platform::kNoAnswer);

INSTANTIATE_TEST_SUITE_P(
    InProcess, SlowWordProcessor,
    testing::Values(
        SlowCase{"AnswersAtOnce", false, [] {}, 3, 0},
        SlowCase{"CreationBlocks", false, [] { win32_test::SetServerCreateDelay(kPastTheBound); },
                 0, kNoAnswer},
        // No answer in time: "quit" then fails at once, unsent.
        SlowCase{"VersionBlocks", false, [] { win32_test::SetServerVersionDelay(kPastTheBound); },
                 1, kNoAnswer},
        SlowCase{"QuitBlocks", false, [] { win32_test::SetServerQuitDelay(kPastTheBound); }, 2,
                 kNoAnswer}),
    SlowCaseName);

INSTANTIATE_TEST_SUITE_P(
    OutOfProcess, SlowWordProcessor,
    testing::Values(
        SlowCase{"AnswersAtOnce", true, [] {}, 3, 0},
        SlowCase{"RejectsFirstCalls", true, [] { win32_test::SetServerRejectCalls(3); }, 3, 0},
        // Still rejecting when the retries end: the rejection is the failure.
        SlowCase{"RejectsBeyondTheRetries", true, [] { win32_test::SetServerRejectCalls(1000); },
                 1, static_cast<std::int32_t>(RPC_E_CALL_REJECTED)},
        SlowCase{"CreationBlocks", true, [] { win32_test::SetServerCreateDelay(kPastTheBound); },
                 0, kNoAnswer},
        SlowCase{"VersionBlocks", true, [] { win32_test::SetServerVersionDelay(kPastTheBound); },
                 1, kNoAnswer},
        SlowCase{"QuitBlocks", true, [] { win32_test::SetServerQuitDelay(kPastTheBound); }, 2,
                 kNoAnswer}),
    SlowCaseName);

// What the launcher promises for the word processor (README), pinned once:
// the tests above and the end-to-end ones run shorter or longer bounds.
TEST(AnswerBoundsTest, AreThePromisedOnes) {
  EXPECT_EQ(platform::AnswerBounds{}.answer_ms, 30000u);
  EXPECT_EQ(platform::AnswerBounds{}.retry_ms, 10000u);
}

// The launch selection on this host, with the test server standing in for
// the word processor and no Office version in the registry.
class WordSelectionTest : public testing::Test {
 protected:
  void SetUp() override {
    // No Office version in the registry, whatever an earlier run left.
    const std::string office = checker::kOfficeKeyPath;
    win32_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, office.substr(0, office.size() - 1));
    // An entry of its own for version 11 under every label.
    std::string ini;
    for (const char* label : {"win98", "winme", "winnt", "win2k", "winxp", "winvista", "default"}) {
      ini += std::string("[") + label + "LaunchFiles]\r\n11=" + label + "11.exe\r\n";
    }
    config_ = directory_.WriteFile("launch.ini", ini + "default=start.exe\r\n");
  }

  win32_test::ComRegistration word_{checker::kWordClassName, win32_test::TestServerPath()};
  win32_test::TempDirectory directory_;
  std::string config_;
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(WordSelectionTest, VersionFromWordThenQuitWithoutSavingAndRelease) {
  win32_test::SetServerVersion("11.0");
  EXPECT_THAT(checker::SelectLaunch(*host_, config_),
              Holds(checker::GetHostOsLabel(*host_) + "11.exe"));
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
  EXPECT_EQ(win32_test::ServerQuitArgument(), static_cast<DWORD>(checker::kDoNotSaveChanges));
  EXPECT_EQ(win32_test::ServerLiveObjects(), 0u) << "held after quit";
}

TEST_F(WordSelectionTest, FailedVersionReadSkipsQuit) {
  win32_test::SetServerVersionFails();
  EXPECT_THAT(checker::SelectLaunch(*host_, config_), FailsWith(test_server::kVersionFailure));
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

}  // namespace
