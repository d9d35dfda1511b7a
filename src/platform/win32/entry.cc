// The launcher's Windows entry point, where the process starts: no C
// runtime runs before it. The launcher takes no arguments.
#include <windows.h>

#include "launcher/main.h"
#include "platform/run_program.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/win32_host.h"

extern "C" void WINAPI LauncherStart() {
  // First of all: nothing loaded later may come from a DLL planted beside us.
  platform::RestrictDllSearch();
  std::unique_ptr<platform::Host> host = platform::NewWin32Host();
  // Ends the process: the Windows host's EndProgram does not return.
  platform::FinishProgram(*host, checker::Main(*host));
  ::ExitProcess(1);
}
