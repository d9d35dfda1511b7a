// The C++ library reports misuse (a string grown past its maximum size, an
// index out of range, an empty std::function called) by throwing its own
// exception types. Nothing in the launcher catches those, so each would end
// in std::terminate and an abort; these replacements abort at once and so
// keep the library's exception classes, and the second string
// implementation they carry, out of the program. Running out of memory is
// different: the launcher's program entry catches std::bad_alloc.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_bad_function_call() { abort(); }

}  // namespace std
