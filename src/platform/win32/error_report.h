#ifndef LAUNCHER_PLATFORM_WIN32_ERROR_REPORT_H_
#define LAUNCHER_PLATFORM_WIN32_ERROR_REPORT_H_

#include <cstddef>
#include <string>

#include "platform/lead_bytes.h"
#include "platform/result.h"

namespace platform {

// How much of a description the error report shows: one can hold a whole
// launch value, and a message box of tens of thousands of characters may
// never appear.
inline constexpr std::size_t kShownDescription = 1024;

// The text of the error report for `failure`: "Error <number>:", with the
// number in hexadecimal too when it is negative (an HRESULT), a blank line,
// and the description, or as much of it as kShownDescription holds, cut
// between two characters of the code page whose lead bytes are `lead`, and
// "..." after it.
std::string ErrorReportText(const Failure& failure, const LeadBytes& lead);

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_ERROR_REPORT_H_
