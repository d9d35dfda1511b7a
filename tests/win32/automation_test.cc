// Automation objects through the Win32 host, against the test server
// registered for each test.
#include "platform/win32/automation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "com_registration.h"
#include "com_server/test_server_ids.h"
#include "launcher/launch_selection.h"
#include "platform/win32/win32_host.h"
#include "test_support.h"

namespace {

constexpr char kProgId[] = "LauncherTest.Application";

class AutomationTest : public testing::Test {
 protected:
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
  for (const auto& test : cases) {
    SCOPED_TRACE(test.label);
    test.configure();
    platform::AutomationObject& object = host_->CreateAutomationObject(kProgId);
    if (GetACP() != 1252 && test.expected.find('\xe9') != std::string::npos) continue;
    EXPECT_EQ(object.GetTextProperty("version"), test.expected);
  }
}

TEST_F(AutomationTest, FailedVersionReadCarriesTheServersException) {
  win32_test::SetServerVersionFails();
  platform::AutomationObject& object = host_->CreateAutomationObject(kProgId);
  try {
    object.GetTextProperty("version");
    FAIL() << "version was read";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), test_server::kVersionFailure);
    EXPECT_NE(failure.description().find(test_server::kVersionFailureText), std::string::npos)
        << failure.description();
    EXPECT_NE(failure.description().find("version"), std::string::npos);
  }
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

TEST_F(AutomationTest, QuitIsCalledOncePerCall) {
  platform::AutomationObject& object = host_->CreateAutomationObject(kProgId);
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
  object.CallMethod("quit");
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
  object.CallMethod("Quit");
  EXPECT_EQ(win32_test::ServerQuitCalls(), 2u);
}

TEST_F(AutomationTest, UnknownMemberFails) {
  platform::AutomationObject& object = host_->CreateAutomationObject(kProgId);
  try {
    object.GetTextProperty("build");
    FAIL() << "read an unknown property";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), static_cast<std::int32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_NE(failure.description().find("build"), std::string::npos) << failure.description();
  }
  EXPECT_THROW(object.CallMethod("close"), platform::Failure);
}

TEST_F(AutomationTest, UnknownClassFailsWithInvalidClassString) {
  try {
    host_->CreateAutomationObject("LauncherTest.NoSuchClass");
    FAIL() << "created an unknown class";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), platform::error::kClassNotFound);
    EXPECT_NE(failure.description().find("LauncherTest.NoSuchClass"), std::string::npos)
        << failure.description();
  }
}

TEST_F(AutomationTest, ObjectsLiveUntilTheHostReleasesThem) {
  host_->CreateAutomationObject(kProgId);
  host_->CreateAutomationObject(kProgId);
  EXPECT_EQ(win32_test::ServerLiveObjects(), 2u);
  host_.reset();
  EXPECT_EQ(win32_test::ServerLiveObjects(), 0u);
}

// The test server out of process, where a word processor that is still
// starting or sits behind a dialog would be, under short bounds. A server
// that answers after them stands for one that never answers: Wine cannot
// cancel a call, so the launcher only sees the answer come too late.
constexpr platform::AnswerBounds kShortBounds = {/*retry_ms=*/1500, /*answer_ms=*/3000};

struct SlowCase {
  const char* name;
  void (*set_up)();
  std::int32_t failure;  // of "version" and then "quit"; 0: both work
};

void PrintTo(const SlowCase& c, std::ostream* out) { *out << c.name; }

class SlowWordProcessor : public testing::TestWithParam<SlowCase> {
 protected:
  win32_test::ComRegistration registration_{kProgId, win32_test::LocalServerPath()};
};

TEST_P(SlowWordProcessor, AnswersWithinTheBoundsOrFails) {
  win32_test::SetServerVersion("11.0");
  GetParam().set_up();
  platform::Automation automation(kShortBounds);
  platform::AutomationObject& word = automation.Create(kProgId);
  if (GetParam().failure == 0) {
    EXPECT_EQ(word.GetTextProperty("version"), "11.0");
    word.CallMethod("quit");
    EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
    return;
  }
  for (const auto& ask : {+[](platform::AutomationObject& o) { o.GetTextProperty("version"); },
                          +[](platform::AutomationObject& o) { o.CallMethod("quit"); }}) {
    try {
      ask(word);
      ADD_FAILURE() << "the word processor answered";
    } catch (const platform::Failure& failure) {
      EXPECT_EQ(failure.number(), GetParam().failure) << failure.description();
    }
  }
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    OutOfProcess, SlowWordProcessor,
    testing::Values(
        SlowCase{"AnswersAtOnce", [] {}, 0},
        SlowCase{"RejectsFirstCalls", [] { win32_test::SetServerRejectCalls(3); }, 0},
        // Still rejecting when the retries end: the rejection is the failure.
        SlowCase{"RejectsBeyondTheRetries", [] { win32_test::SetServerRejectCalls(1000); },
                 static_cast<std::int32_t>(RPC_E_CALL_REJECTED)},
        // No answer in time: "quit" then fails at once, unsent.
        SlowCase{"BlocksPastTheBound",
                 [] { win32_test::SetServerVersionDelay(kShortBounds.answer_ms + 2000); },
                 static_cast<std::int32_t>(platform::kNoAnswer)}),
    [](const testing::TestParamInfo<SlowCase>& info) { return std::string(info.param.name); });

// The launch selection on this host, with the test server standing in for
// the word processor and no Office version in the registry.
class WordSelectionTest : public testing::Test {
 protected:
  void SetUp() override {
    HKEY office = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, checker::kOfficeKeyPath, &office) == ERROR_SUCCESS) {
      RegCloseKey(office);
      GTEST_SKIP() << "this machine has an Office version in the registry";
    }
    // Every host label falls back to the default section.
    config_ = directory_.WriteFile("launch.ini",
                                   "[defaultLaunchFiles]\r\n11=apps\\office11.exe\r\n"
                                   "default=apps\\start.exe\r\n");
  }

  win32_test::ComRegistration word_{checker::kWordClassName, win32_test::TestServerPath()};
  win32_test::TempDirectory directory_;
  std::string config_;
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(WordSelectionTest, VersionFromWordThenQuit) {
  win32_test::SetServerVersion("11.0");
  const std::string value = checker::SelectLaunch(*host_, config_);
  // On a host labelled other than "default", key 11 is looked up in its own
  // section first, which this file lacks.
  EXPECT_TRUE(value == "apps\\office11.exe" || value == "apps\\start.exe") << value;
  EXPECT_EQ(win32_test::ServerQuitCalls(), 1u);
}

TEST_F(WordSelectionTest, FailedVersionReadSkipsQuit) {
  win32_test::SetServerVersionFails();
  EXPECT_THROW(checker::SelectLaunch(*host_, config_), platform::Failure);
  EXPECT_EQ(win32_test::ServerQuitCalls(), 0u);
}

}  // namespace
