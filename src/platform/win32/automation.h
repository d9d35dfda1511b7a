#ifndef LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_
#define LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"

namespace platform {

// How long the launcher waits for automation objects. A word processor in
// another process may still be starting and reject calls ("retry later"),
// or sit behind a dialog and not answer at all, even before it has made its
// object.
struct AnswerBounds {
  // A rejected call is sent again, after a pause, for this long in all,
  // counted from the first rejection.
  DWORD retry_ms = 10000;
  // From the start of the first object's creation to the end of the last
  // call into the objects, at most this long in all: the retries, a start
  // from a slow disk and a dialog someone answers at once fit into it.
  DWORD answer_ms = 30000;
};

// What a call gives when it had no answer in time.
inline constexpr HRESULT kNoAnswer = RPC_E_TIMEOUT;

class ComThread;

// Late-bound automation objects. COM and its libraries (ole32.dll and
// oleaut32.dll, from the system directory only) are loaded on the first
// object, so a run that never needs one never loads them, and never starts
// the thread below.
//
// Every call into COM is made on a thread of its own, and the launcher's
// thread waits for each at most until the bounds are over: so neither a
// word processor that never answers, nor COM's own waits (minutes for a
// server that never registers its class), hold the launcher longer, on any
// Windows. A call that was not answered in time fails with kNoAnswer, as
// does every later one: the thread is left to itself, with everything it
// uses, and the process ends without waiting for it.
class Automation {
 public:
  explicit Automation(AnswerBounds bounds = {});
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;
  ~Automation();

  // Creates an object of `class_name` (a ProgID), in process or in a local
  // server, and keeps it until ReleaseObject or End. A failure with the
  // HRESULT when it cannot be created.
  Result<AutomationObject*> Create(std::string_view class_name);

  // Releases `object` now.
  void ReleaseObject(AutomationObject* object);

  // Releases every object and ends the thread's use of COM and the thread,
  // within the bounds.
  void End();

  // True once a call was not answered in time: its thread may be inside
  // COM still, and the process should end without the usual clean-up.
  bool abandoned() const;

  // True when the calls' thread was started (the first object).
  bool started() const { return thread_ != nullptr; }

 private:
  AnswerBounds bounds_;
  // Owned, until a call is abandoned; then left to the thread.
  ComThread* thread_ = nullptr;
  std::vector<std::unique_ptr<AutomationObject>> objects_;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_
