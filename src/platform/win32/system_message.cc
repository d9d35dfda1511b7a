#include "platform/win32/system_message.h"

#include "platform/join.h"

namespace platform {

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof(text), nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  if (length == 0) return Join({"error ", Decimal(static_cast<std::int32_t>(code))});
  return std::string(text, length);
}

Failure SystemFailure(DWORD code, std::string_view what) {
  return Failure(static_cast<std::int32_t>(code), Join({what, ": ", SystemMessage(code)}));
}

}  // namespace platform
