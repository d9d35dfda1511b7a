#include "platform/win32/runtime/out_of_memory.h"

#include <windows.h>

namespace platform {

void OutOfMemory() {
  // The report of error::kNotEnoughMemory, spelt out: building it would
  // take the memory there is none of.
  ::MessageBoxA(nullptr, "Error 8:\n\nout of memory", "launcher",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  ::ExitProcess(1);
}

}  // namespace platform
