# Cross build of the i686 test programs. They need GoogleTest, and so
# std::mutex, which only the posix thread model of GCC 12 has; they run
# under Wine only, so its extra imports do no harm. The programs under test,
# launcher.exe and launchcheck.exe, come from the release build
# (cmake/mingw-i686.cmake, see LAUNCHER_RELEASE_BUILD).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
