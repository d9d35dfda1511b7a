// The floors the launcher's start-up is measured against: the least a
// program can do to start bench_child.exe beside itself with CreateProcessA.
// Built three ways: bare; with FLOOR_WINDOW, first the one hidden window
// with one label that the launcher also creates; with FLOOR_AUTOMATION as
// well, the automation libraries loaded up front, to show what loading them
// would cost the launcher's common path.
#include <windows.h>

#include <cstring>

#include "bench/win32/child_signal.h"

namespace {

#ifdef FLOOR_WINDOW
void CreateHiddenForm(HINSTANCE instance) {
  WNDCLASSA form_class = {};
  form_class.lpfnWndProc = ::DefWindowProcA;
  form_class.hInstance = instance;
  form_class.lpszClassName = "BenchFloorForm";
  ::RegisterClassA(&form_class);
  HWND form =
      ::CreateWindowExA(0, "BenchFloorForm", "Checking System ", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 8, 200, 20, form, nullptr,
                    instance, nullptr);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  (void)instance;
#ifdef FLOOR_AUTOMATION
  ::LoadLibraryA("ole32.dll");
  ::LoadLibraryA("oleaut32.dll");
#endif
#ifdef FLOOR_WINDOW
  CreateHiddenForm(instance);
#endif
  char path[MAX_PATH + 32] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  std::strcpy(path + length, bench::kChildProgram);
  char command_line[MAX_PATH + 40];
  command_line[0] = '"';
  std::strcpy(command_line + 1, path);
  std::strcat(command_line, "\"");
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(path, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return 1;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return 0;
}
