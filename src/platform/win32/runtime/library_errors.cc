// Built without exceptions, libstdc++'s headers report an error by calling
// these hooks (every one <bits/functexcept.h> declares) instead of throwing;
// std::optional and std::variant call abort directly. A size the library
// cannot allocate is memory running out; every other report is misuse, a
// bug.
#include <bits/functexcept.h>

#include <cstdlib>

#include "platform/win32/runtime/out_of_memory.h"

namespace std {

void __throw_bad_alloc() { platform::OutOfMemory(); }
void __throw_bad_array_new_length() { platform::OutOfMemory(); }
void __throw_length_error(const char*) { platform::OutOfMemory(); }

void __throw_bad_exception() { abort(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }
void __throw_ios_failure(const char*) { abort(); }
void __throw_ios_failure(const char*, int) { abort(); }
void __throw_system_error(int) { abort(); }
void __throw_future_error(int) { abort(); }
void __throw_bad_function_call() { abort(); }

}  // namespace std
