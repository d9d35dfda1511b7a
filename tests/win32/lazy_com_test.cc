// A run that never needs an automation object never loads COM. Its own
// program, so that no other test has loaded the libraries before.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/win32_host.h"
#include "probes/registry_value.h"
#include "status/frm_main.h"

namespace {

TEST(LazyComTest, LibrariesLoadWithTheFirstObjectOnly) {
  ASSERT_EQ(GetModuleHandleA("ole32.dll"), nullptr) << "loaded before the test";
  ASSERT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr) << "loaded before the test";
  auto host = platform::NewWin32Host();
  EXPECT_TRUE(
      checker::ReadRegistryValue(*host, platform::kHkeyLocalMachine, "Software\\Missing\\", "x")
          .ok());
  EXPECT_TRUE(host->SetCaption(status::frmMain, "Label1", "").ok());
  host->FileExists("C:\\launch.ini");
  EXPECT_EQ(GetModuleHandleA("ole32.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr);

  const auto object = host->CreateAutomationObject("LauncherTest.NoSuchClass");
  ASSERT_FALSE(object.ok());
  EXPECT_EQ(object.failure().number(), platform::error::kClassNotFound);
  EXPECT_NE(GetModuleHandleA("ole32.dll"), nullptr);
  EXPECT_NE(GetModuleHandleA("oleaut32.dll"), nullptr);

  // Taken from the system directory, never from beside the program.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  for (const char* name : {"ole32.dll", "oleaut32.dll"}) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA(name), path, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(path, (std::string(system) + "\\" + name).c_str()), 0) << path;
  }
}

}  // namespace
