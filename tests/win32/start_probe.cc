// A program for the program-start tests: it records its own path and the
// command line it got in a new file in the directory that
// LAUNCHER_TEST_PROBE_DIR names. The record is written under a temporary
// name and then renamed, so a reader never sees half of it.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char directory[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("LAUNCHER_TEST_PROBE_DIR", directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;
  char own_path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own_path, MAX_PATH);

  const std::string name = std::string(directory) + "\\" + std::to_string(GetCurrentProcessId());
  std::FILE* file = std::fopen((name + ".partial").c_str(), "wb");
  if (file == nullptr) return 3;
  std::fprintf(file, "%s\n%s", own_path, GetCommandLineA());
  if (std::fclose(file) != 0) return 4;
  return MoveFileA((name + ".partial").c_str(), (name + ".txt").c_str()) ? 0 : 5;
}
