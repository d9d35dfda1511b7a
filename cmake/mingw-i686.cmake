# Cross build for i686 Windows, the release target, with Debian's MinGW-w64.
# The win32 thread model: the posix one links winpthreads into every C++
# program that throws, and winpthreads imports functions that Windows before
# Vista lacks (GetTickCount64), so such a program would not even load there.
# GoogleTest needs std::mutex, which this model lacks in GCC 12, so this
# build has no tests: cmake/mingw-i686-tests.cmake builds them, and they run
# the programs built here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
