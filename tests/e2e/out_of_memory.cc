// Runs out of memory in the freestanding runtime, as launcher.exe would:
// by new[] of more than the process can have, or, with
// LAUNCHER_E2E_RUN_OUT=string, by a string grown past its maximum size.
// Either must end in the runtime's report; status 0 means it returned.
#include <windows.h>

#include <cstddef>
#include <string>

namespace {

// Kept, so that the allocation cannot be left out.
char* volatile kept;

// 3 GiB for a 32-bit process; for a 64-bit one 192 TiB, more than its
// whole address space.
volatile std::size_t too_much = sizeof(void*) == 4 ? std::size_t{3} << 30 : std::size_t{3} << 46;

}  // namespace

extern "C" void WINAPI OutOfMemoryStart() {
  char how[16] = {};
  ::GetEnvironmentVariableA("LAUNCHER_E2E_RUN_OUT", how, sizeof how);
  if (std::string(how) == "string") {
    std::string text(1, 'x');
    text.append(text.max_size(), 'x');
    kept = text.data();
  } else {
    kept = new char[too_much];
  }
  ::ExitProcess(0);
}
