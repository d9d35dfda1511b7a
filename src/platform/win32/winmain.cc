// The launcher's Windows entry point. The launcher takes no arguments, so
// WinMain ignores its own.
#include <windows.h>

#include "launcher/main.h"
#include "platform/run_program.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: nothing loaded later may come from a DLL planted beside us.
  platform::RestrictDllSearch();
  std::unique_ptr<platform::Host> host = platform::NewWin32Host();
  return platform::FinishProgram(*host, checker::Main(*host));
}
