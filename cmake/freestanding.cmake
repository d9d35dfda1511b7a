# Windows programs built freestanding: neither the C runtime nor libstdc++'s
# library is linked, only its headers, with the small runtime of
# src/platform/win32/runtime in their place. Such a program imports nothing
# but system DLLs, holds no unwind tables, and on i686 only instructions
# that every x86 from the 80386 on has (tests/release/inspect.sh checks the
# release file).
#
#   launcher_freestanding(<target> [ENTRY <name>])
#
# On a library, adds the compile options: everything linked into a
# freestanding program must be built so. On an executable, also the link
# options and the runtime; ENTRY names its start, an
#   extern "C" void WINAPI <name>();
# that never returns (it ends with ExitProcess). The linker wants it spelt
# as the compiler decorates it: _<name>@0 for i686 (stdcall, no arguments),
# <name> for x86_64.
#
# What such a program cannot have, each found at build time:
# - exceptions, RTTI, floating point on i686: refused by the compiler;
# - static constructors or destructors, which nothing would run: refused by
#   freestanding.ld.in;
# - function-local statics that need a constructor, thread_local, atomics
#   that an 80386 lacks (shared_ptr's count): undefined symbols at the link
#   (__cxa_guard_acquire, atexit, __emutls_get_address, __atomic_*).

set(LAUNCHER_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../src)
cmake_path(NORMAL_PATH LAUNCHER_SOURCE_DIR)
set(LAUNCHER_RUNTIME_DIR ${LAUNCHER_SOURCE_DIR}/platform/win32/runtime)

# -fno-asynchronous-unwind-tables with -fno-exceptions: no .eh_frame.
# -fno-ident: no compiler version string in every object.
set(LAUNCHER_FREESTANDING_COMPILE
  -ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-stack-protector -fno-ident)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # x86_64 keeps SSE: its ABI and the intrinsics in its windows.h need it.
  list(APPEND LAUNCHER_FREESTANDING_COMPILE -march=i386 -mgeneral-regs-only)
endif()

function(launcher_freestanding target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ENTRY" "")
  target_compile_options(${target} PRIVATE ${LAUNCHER_FREESTANDING_COMPILE})
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    return()
  endif()
  if(NOT arg_ENTRY)
    message(FATAL_ERROR "launcher_freestanding(${target}): an executable needs ENTRY")
  endif()

  if(NOT TARGET launcher_freestanding_runtime)
    add_library(launcher_freestanding_runtime OBJECT
      ${LAUNCHER_RUNTIME_DIR}/abort.cc
      ${LAUNCHER_RUNTIME_DIR}/c_string.cc
      ${LAUNCHER_RUNTIME_DIR}/library_errors.cc
      ${LAUNCHER_RUNTIME_DIR}/long_division.cc
      ${LAUNCHER_RUNTIME_DIR}/operator_new.cc
      ${LAUNCHER_RUNTIME_DIR}/out_of_memory.cc
    )
    target_include_directories(launcher_freestanding_runtime PRIVATE ${LAUNCHER_SOURCE_DIR})
    # Or GCC turns the loops of memcpy and its kin into calls to themselves.
    target_compile_options(launcher_freestanding_runtime PRIVATE
      ${LAUNCHER_FREESTANDING_COMPILE} -fno-tree-loop-distribute-patterns
      -ffunction-sections -fdata-sections)
    # The empty constructor list is two pointers: its -1 and its 0.
    math(EXPR LAUNCHER_EMPTY_CONSTRUCTOR_LIST "2 * ${CMAKE_SIZEOF_VOID_P}")
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/freestanding.ld.in
                   ${PROJECT_BINARY_DIR}/freestanding.ld @ONLY)
  endif()

  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(entry _${arg_ENTRY}@0)
  else()
    set(entry ${arg_ENTRY})
  endif()
  # A misspelt entry is only a warning to ld, which then starts the program
  # at the first byte of its code: --require-defined makes it an error.
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,${entry}
    -Wl,--require-defined=${entry} -Wl,--gc-sections ${PROJECT_BINARY_DIR}/freestanding.ld)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/freestanding.ld)
  # libgcc last: ___chkstk_ms, the stack probe of frames over 4 KiB.
  target_link_libraries(${target} PRIVATE launcher_freestanding_runtime
    kernel32 user32 gdi32 advapi32 gcc)
endfunction()
