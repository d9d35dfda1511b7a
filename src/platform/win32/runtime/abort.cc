// The ends that only a bug reaches: abort (called by the library on misuse)
// and a call of a pure virtual function. Quietly, with status 3, as the C
// runtime's abort ends a process.
#include <windows.h>

extern "C" {

[[noreturn]] void abort() { ::ExitProcess(3); }

[[noreturn]] void __cxa_pure_virtual() { ::ExitProcess(3); }

}  // extern "C"
