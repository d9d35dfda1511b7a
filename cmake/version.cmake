# The version comes from project() alone. Users see it as the major number,
# a point and the minor number in two digits: 1.0.0.0 is "1.00".
if(PROJECT_VERSION_TWEAK STREQUAL "")
  message(FATAL_ERROR "project() wants all four parts of the version: ${PROJECT_VERSION}")
endif()
if(PROJECT_VERSION_MINOR GREATER 99)
  message(FATAL_ERROR "the minor version must fit in two digits: ${PROJECT_VERSION}")
endif()
if(PROJECT_VERSION_MINOR LESS 10)
  set(LAUNCHER_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(LAUNCHER_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/launcher.manifest.in
               ${PROJECT_BINARY_DIR}/generated/launcher.manifest @ONLY)

# Gives "version.h" (and, to the resource compiler, the manifest).
add_library(launcher_version INTERFACE)
target_include_directories(launcher_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
