// The program that the launcher and the floors start: it only tells the
// start-up benchmark that it runs, by setting the agreed event.
#include <windows.h>

#include "bench/win32/child_signal.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE started = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, bench::kChildStartedEvent);
  if (started == nullptr) return 1;
  ::SetEvent(started);
  ::CloseHandle(started);
  return 0;
}
