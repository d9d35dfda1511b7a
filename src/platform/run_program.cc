#include "platform/run_program.h"

namespace platform {

int FinishProgram(Host& host, const Status& outcome) {
  int exit_status = 0;
  if (!outcome.ok()) {
    host.ReportUnhandledFailure(outcome.failure());
    exit_status = 1;
  }
  host.EndProgram(exit_status);
  return exit_status;
}

}  // namespace platform
