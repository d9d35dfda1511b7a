// A stand-in for the programs a disc would carry: it says which file it is
// and the command line it was started with. With LAUNCHER_DEMO_RECORD set it
// appends that as one line to the file named there; otherwise it shows it in
// a message box, for a try-out on a real Windows.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char own_path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own_path, MAX_PATH);
  const std::string line = std::string(own_path) + " was started with: " + GetCommandLineA();

  char record[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("LAUNCHER_DEMO_RECORD", record, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    MessageBoxA(nullptr, line.c_str(), "Who started me", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  std::FILE* file = std::fopen(record, "ab");
  if (file == nullptr) return 1;
  std::fprintf(file, "%s\n", line.c_str());
  return std::fclose(file) == 0 ? 0 : 1;
}
