#include "status/frm_main.h"

namespace status {
namespace {

using platform::ControlLayout;
using Kind = platform::ControlLayout::Kind;

constexpr ControlLayout kControls[] = {
    {"Label7",
     Kind::kLabel,
     "Checking System and Ofiice Versions",
     120,
     360,
     4455,
     1815,
     {"Verdana", 18, true, true}},
    {"Label1", Kind::kLabel, "Label1", 360, 240, 975, 375, {}},
    {"Label2", Kind::kLabel, "Label2", 240, 1080, 1455, 375, {}},
    {"Label3", Kind::kLabel, "Label3", 2040, 1080, 1575, 495, {}},
    {"Label4", Kind::kLabel, "Label4", 120, 1800, 1215, 495, {}},
    {"Label5", Kind::kLabel, "Label5", 3600, 1920, 855, 615, {}},
    {"Label6", Kind::kLabel, "Label6", 1800, 240, 2415, 495, {}},
    {"Command1", Kind::kCommandButton, "Command1", 1800, 2160, 1455, 735, {}},
};

}  // namespace

constexpr platform::FormLayout frmMain = {"frmMain", "Checking System ", 4680, 3090, kControls};

platform::Status SetLabel(platform::Host& host, std::string_view control,
                          const std::string& text) {
  return host.SetCaption(frmMain, control, text);
}

}  // namespace status
