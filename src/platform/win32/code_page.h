#ifndef LAUNCHER_PLATFORM_WIN32_CODE_PAGE_H_
#define LAUNCHER_PLATFORM_WIN32_CODE_PAGE_H_

#include "platform/lead_bytes.h"

namespace platform {

// The lead bytes of the system code page, as IsDBCSLeadByte tells them
// (every Windows has it); none for a single-byte code page.
LeadBytes SystemCodePageLeadBytes();

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_CODE_PAGE_H_
