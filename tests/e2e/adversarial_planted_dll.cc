// A stand-in for a DLL that someone planted beside launcher.exe. When any
// process loads it, it leaves a file named after itself ("ole32.dll.loaded")
// in the directory that LAUNCHER_E2E_PLANT_RECORDS names, outside the
// launcher's directory, and then lets the load succeed.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char records[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("LAUNCHER_E2E_PLANT_RECORDS", records, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  char own_path[MAX_PATH] = {};
  const DWORD own_length = GetModuleFileNameA(module, own_path, MAX_PATH);
  std::string name(own_path, own_length);
  name = name.substr(name.find_last_of("\\/") + 1);
  const std::string marker = std::string(records) + "\\" + name + ".loaded";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
