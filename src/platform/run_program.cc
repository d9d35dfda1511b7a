#include "platform/run_program.h"

#include <cstdlib>
#include <new>

namespace platform {

void RunProgram(Host& host, void (*entry)(Host&)) {
  try {
    entry(host);
  } catch (const Failure& failure) {
    host.ReportUnhandledFailure(failure);
  } catch (const std::bad_alloc&) {
    host.ReportUnhandledFailure(Failure(error::kNotEnoughMemory, "out of memory"));
  }
  host.EndProgram();
  std::abort();  // not reached: EndProgram does not return
}

}  // namespace platform
