#ifndef LAUNCHER_TESTS_DOUBLE_BYTE_LOOKUPS_H_
#define LAUNCHER_TESTS_DOUBLE_BYTE_LOOKUPS_H_

namespace checker::testing {

// One lookup in a launch.ini and the value it must give.
struct LookupCase {
  const char* what;
  const char* file;
  const char* section;
  const char* key;
  const char* expected;
};

// Lookups in code page 932, run on the simulated host and on Windows. Bytes
// 0x83 0x63 0x81 0x5B 0x83 0x8B are "ツール", whose long-vowel mark ends in
// "["; 0x83 0x5C is "ソ", ending in "\"; 0x83 0x41 "ア" and 0x83 0x61 "ヂ"
// differ only in a second byte that would be "A" and "a" on their own.
inline constexpr LookupCase kCodePage932Lookups[] = {
    {"long-vowel mark in the value", "[s]\r\n11=\x83\x63\x81\x5B\x83\x8B\\probe.exe\r\n", "s", "11",
     "\x83\x63\x81\x5B\x83\x8B\\probe.exe"},
    {"long-vowel mark in an earlier line", "[s]\r\n10=\x83\x63\x81\x5B\x83\x8B\r\n11=a.exe\r\n",
     "s", "11", "a.exe"},
    {"a [ after a double-byte character closes the section",
     "[s]\r\n10=\x83\x5C[cd]\r\n11=a.exe\r\n", "s", "11", ""},
    {"second byte of a key is no letter", "[s]\r\n\x83\x41=a.exe\r\n\x83\x61=b.exe\r\n", "s",
     "\x83\x61", "b.exe"},
    {"second byte of a header is no letter",
     "[\x83\x41s]\r\n11=a.exe\r\n[\x83\x61s]\r\n11=b.exe\r\n", "\x83\x61s", "11", "b.exe"},
    {"letters beside a double-byte character ignore case",
     "[WinXP\x83\x5CLaunchFiles]\r\n11=a.exe\r\n", "winxp\x83\x5Claunchfiles", "11", "a.exe"},
};

}  // namespace checker::testing

#endif  // LAUNCHER_TESTS_DOUBLE_BYTE_LOOKUPS_H_
