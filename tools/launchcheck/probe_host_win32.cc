#include "platform/win32/win32_host.h"
#include "probe_host.h"

namespace launchcheck {

ProbeHostFactory ThisMachine() {
  return [] { return platform::NewWin32Host(); };
}

}  // namespace launchcheck
