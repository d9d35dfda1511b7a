#ifndef LAUNCHER_STATUS_FRM_MAIN_H_
#define LAUNCHER_STATUS_FRM_MAIN_H_

#include <string>
#include <string_view>

#include "platform/form_layout.h"
#include "platform/host.h"

namespace status {

// The hidden diagnostics form: its labels receive what the launcher detects.
// It is created on the first caption write and never shown.
extern const platform::FormLayout frmMain;

// Writes `text` into the label `control` ("Label1" to "Label6") of frmMain.
// A failure when the form cannot be created or written.
platform::Status SetLabel(platform::Host& host, std::string_view control,
                          const std::string& text);

}  // namespace status

#endif  // LAUNCHER_STATUS_FRM_MAIN_H_
