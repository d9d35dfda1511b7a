// The common path, where the registry gives the Office version, loads no COM
// and starts no thread. Its own program, so that no other test has loaded
// the libraries or started threads before.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <string>

#include "launcher/launch_selection.h"
#include "platform/win32/win32_host.h"
#include "test_support.h"

namespace {

int ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int threads = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  }
  CloseHandle(snapshot);
  return threads;
}

TEST(LazyComTest, TheRegistrysVersionNeedsNeitherComNorAThread) {
  ASSERT_EQ(GetModuleHandleA("ole32.dll"), nullptr) << "loaded before the test";
  ASSERT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr) << "loaded before the test";
  const std::string office = checker::kOfficeKeyPath;
  const DWORD eleven = 11;
  win32_test::SetRegistryValue(HKEY_LOCAL_MACHINE, office, checker::kOfficeValueName, REG_DWORD,
                               std::string(reinterpret_cast<const char*>(&eleven), 4));
  auto host = platform::NewWin32Host();
  const int threads = ThreadsOfThisProcess();
  ASSERT_GT(threads, 0);
  EXPECT_TRUE(checker::SelectLaunch(*host, "C:\\nowhere\\launch.ini").ok());
  EXPECT_EQ(ThreadsOfThisProcess(), threads);
  EXPECT_EQ(GetModuleHandleA("ole32.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr);
  win32_test::DeleteKeyTree(HKEY_LOCAL_MACHINE, office.substr(0, office.size() - 1));

  // Asking a word processor loads both and starts the calls' thread, which
  // the count above would have seen.
  const auto object = host->CreateAutomationObject("LauncherTest.NoSuchClass");
  ASSERT_FALSE(object.ok());
  EXPECT_EQ(object.failure().number(), platform::error::kClassNotFound);
  EXPECT_GT(ThreadsOfThisProcess(), threads);

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
