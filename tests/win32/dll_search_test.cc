// The DLL search setting on each kind of host, played by stand-ins for the
// two calls: Wine has both, and takes the first.
#include "platform/win32/dll_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;  // "Name(argument)", in order
BOOL set_default_answer = TRUE;

BOOL WINAPI RecordingSetDefault(DWORD flags) {
  calls.push_back("SetDefaultDllDirectories(" + std::to_string(flags) + ")");
  return set_default_answer;
}

BOOL WINAPI RecordingSetDllDirectory(LPCSTR path) {
  calls.push_back(path == nullptr ? "SetDllDirectoryA(null)"
                                  : "SetDllDirectoryA(\"" + std::string(path) + "\")");
  return TRUE;
}

TEST(DllSearchTest, TakesTheStrictestSettingTheHostHas) {
  const std::string system32 =
      "SetDefaultDllDirectories(" + std::to_string(LOAD_LIBRARY_SEARCH_SYSTEM32) + ")";
  const std::string no_current = "SetDllDirectoryA(\"\")";
  const struct {
    const char* host;
    bool has_default;
    BOOL default_answer;
    bool has_directory;
    std::vector<std::string> expected;
  } cases[] = {
      {"Windows 8", true, TRUE, true, {system32}},
      {"refuses the system directory", true, FALSE, true, {system32, no_current}},
      {"XP SP1", false, TRUE, true, {no_current}},
      {"Windows 2000", false, TRUE, false, {}},
  };
  for (const auto& c : cases) {
    calls.clear();
    set_default_answer = c.default_answer;
    platform::DllSearchCalls host;
    if (c.has_default) host.set_default_dll_directories = &RecordingSetDefault;
    if (c.has_directory) host.set_dll_directory = &RecordingSetDllDirectory;
    platform::RestrictDllSearch(host);
    EXPECT_EQ(calls, c.expected) << c.host;
  }
}

TEST(DllSearchTest, FindsBothCallsInWinesKernel32) {
  const platform::DllSearchCalls found = platform::SystemDllSearchCalls();
  EXPECT_NE(found.set_default_dll_directories, nullptr);
  EXPECT_NE(found.set_dll_directory, nullptr);
}

}  // namespace
