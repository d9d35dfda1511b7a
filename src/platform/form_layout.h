#ifndef LAUNCHER_PLATFORM_FORM_LAYOUT_H_
#define LAUNCHER_PLATFORM_FORM_LAYOUT_H_

#include <span>
#include <string_view>

namespace platform {

// What a host needs to build a form: its caption, its client size and its
// controls, all positions in twips (1/1440 inch), converted by the host
// according to the screen's resolution. Plain constants, so that a form
// needs no code to run before the program does.
struct FontLayout {
  const char* face = "";  // empty: the host's default font
  int points = 0;
  bool bold = false;
  bool italic = false;
};

struct ControlLayout {
  enum class Kind { kLabel, kCommandButton };

  const char* name;
  Kind kind = Kind::kLabel;
  const char* caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  FontLayout font;
};

struct FormLayout {
  const char* name;
  const char* caption;
  int client_width = 0;
  int client_height = 0;
  std::span<const ControlLayout> controls;

  // The index of the control called `control_name` in `controls`, or -1.
  constexpr int Find(std::string_view control_name) const {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (control_name == controls[i].name) return static_cast<int>(i);
    }
    return -1;
  }
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_FORM_LAYOUT_H_
