#ifndef LAUNCHER_PLATFORM_FORM_LAYOUT_H_
#define LAUNCHER_PLATFORM_FORM_LAYOUT_H_

#include <string>
#include <vector>

namespace platform {

// What a host needs to build a form: its caption, its client size and its
// controls, all positions in twips (1/1440 inch), converted by the host
// according to the screen's resolution.
struct FontLayout {
  std::string face;  // empty: the host's default font
  int points = 0;
  bool bold = false;
  bool italic = false;
};

struct ControlLayout {
  enum class Kind { kLabel, kCommandButton };

  std::string name;
  Kind kind = Kind::kLabel;
  std::string caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  FontLayout font;
};

struct FormLayout {
  std::string name;
  std::string caption;
  int client_width = 0;
  int client_height = 0;
  std::vector<ControlLayout> controls;

  // The control called `control_name`, or nullptr.
  const ControlLayout* Find(const std::string& control_name) const {
    for (const ControlLayout& control : controls) {
      if (control.name == control_name) return &control;
    }
    return nullptr;
  }
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_FORM_LAYOUT_H_
