// The Win32 host in code page 932 (Japanese), where the second byte of a
// double-byte character may be "[", "\" or a letter. Run as a test of its
// own, under Wine in a Japanese locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "config/launch_entry.h"
#include "double_byte_lookups.h"
#include "platform/simulated/simulated_host.h"
#include "platform/win32/win32_host.h"
#include "test_support.h"

namespace {

class CodePage932 : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "needs Wine in code page 932: LANG and LC_ALL ja_JP.UTF-8, "
                                 "with that locale generated (scripts/ensure-locale.sh)";
  }

  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(CodePage932, LeadBytesAreThoseTheSimulatedHostModels) {
  platform::SimulatedHost model;
  model.UseCodePage932();
  const platform::LeadBytes expected = model.SystemLeadBytes();
  const platform::LeadBytes actual = host_->SystemLeadBytes();
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(actual.contains(static_cast<unsigned char>(byte)),
              expected.contains(static_cast<unsigned char>(byte)))
        << "byte " << byte;
  }
}

TEST_F(CodePage932, LookupReadsCharactersAsTheSimulatedHostDoes) {
  win32_test::TempDirectory directory;
  for (const checker::testing::LookupCase& c : checker::testing::kCodePage932Lookups) {
    const std::string ini = directory.WriteFile("launch.ini", c.file);
    EXPECT_EQ(checker::ReadLaunchEntry(*host_, ini, c.section, c.key), c.expected) << c.what;
  }
}

}  // namespace
