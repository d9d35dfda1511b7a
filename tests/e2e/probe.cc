// The program the launcher starts in the end-to-end tests. It records its
// own path and the command line it got into the file that
// LAUNCHER_E2E_RECORD names, which lies outside the launcher's directory.
// The record is written beside its final name and then renamed, so a reader
// never sees half of it; a second start finds the name taken and fails.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char record[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("LAUNCHER_E2E_RECORD", record, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;
  char own_path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own_path, MAX_PATH);

  const std::string partial = std::string(record) + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return 3;
  std::fprintf(file, "%s\n%s\n", own_path, GetCommandLineA());
  if (std::fclose(file) != 0) return 4;
  return MoveFileA(partial.c_str(), record) ? 0 : 5;
}
