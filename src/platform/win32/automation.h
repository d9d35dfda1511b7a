#ifndef LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_
#define LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/win32/answer_timer.h"

namespace platform {

// Late-bound automation objects. COM and its libraries (ole32.dll and
// oleaut32.dll, from the system directory only) are loaded on the first
// object, so a run that never needs one never loads them. Calls into the
// objects keep to `bounds` (see AnswerTimer).
class Automation {
 public:
  explicit Automation(AnswerBounds bounds = {});
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;
  ~Automation();

  // Creates an object of `class_name` (a ProgID) and keeps it until Release.
  // A failure with the HRESULT when it cannot be created.
  Result<AutomationObject*> Create(const std::string& class_name);

  // Releases every object and ends the thread's use of COM. A release that
  // the object does not answer keeps to the bounds too.
  void Release();

  // The functions taken from the COM libraries.
  struct Api;

 private:
  Status Load();

  std::unique_ptr<Api> api_;
  bool com_initialised_ = false;
  AnswerTimer timer_;
  bool filter_registered_ = false;
  IMessageFilter* previous_filter_ = nullptr;
  std::vector<std::unique_ptr<AutomationObject>> objects_;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_AUTOMATION_H_
