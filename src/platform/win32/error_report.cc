#include "platform/win32/error_report.h"

#include <windows.h>

#include "platform/join.h"

namespace platform {

std::string ErrorReportText(const Failure& failure, const LeadBytes& lead) {
  const std::int32_t number = failure.number();
  char head[40];
  ::wsprintfA(head, number < 0 ? "Error %ld (0x%08lX):\n\n" : "Error %ld:\n\n",
              static_cast<long>(number), static_cast<unsigned long>(number));
  const std::string& description = failure.description();
  const std::string_view shown = LeadingCharacters(description, kShownDescription, lead);
  return Join({head, shown, shown.size() < description.size() ? "..." : ""});
}

}  // namespace platform
