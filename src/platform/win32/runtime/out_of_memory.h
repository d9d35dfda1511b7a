#ifndef LAUNCHER_PLATFORM_WIN32_RUNTIME_OUT_OF_MEMORY_H_
#define LAUNCHER_PLATFORM_WIN32_RUNTIME_OUT_OF_MEMORY_H_

namespace platform {

// Reports that memory ran out, in the form of the launcher's error report,
// and ends the process with status 1. Allocates nothing, so it works at the
// very moment an allocation has failed.
[[noreturn]] void OutOfMemory();

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_RUNTIME_OUT_OF_MEMORY_H_
