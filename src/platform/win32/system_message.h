#ifndef LAUNCHER_PLATFORM_WIN32_SYSTEM_MESSAGE_H_
#define LAUNCHER_PLATFORM_WIN32_SYSTEM_MESSAGE_H_

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/result.h"

namespace platform {

// The system's text for an error code or HRESULT, without the trailing line
// break; "error <code>" when the system has none.
std::string SystemMessage(DWORD code);

// A Failure for `code`: "<what>: <system message>".
Failure SystemFailure(DWORD code, std::string_view what);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_SYSTEM_MESSAGE_H_
