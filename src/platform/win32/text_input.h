#ifndef LAUNCHER_PLATFORM_WIN32_TEXT_INPUT_H_
#define LAUNCHER_PLATFORM_WIN32_TEXT_INPUT_H_

#include <memory>
#include <string>

#include "platform/host.h"

namespace platform {

// Opens `path` for reading, sharing it with readers and writers. A failure
// (the system's error code and the path) when it is missing, is a directory
// or cannot be opened; so is a read that fails.
Result<std::unique_ptr<TextInput>> OpenWin32TextInput(const std::string& path);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_TEXT_INPUT_H_
