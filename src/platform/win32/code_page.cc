#include "platform/win32/code_page.h"

#include <windows.h>

namespace platform {

LeadBytes SystemCodePageLeadBytes() {
  LeadBytes lead;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    if (::IsDBCSLeadByte(static_cast<BYTE>(byte))) lead.Add(static_cast<unsigned char>(byte));
  }
  return lead;
}

}  // namespace platform
