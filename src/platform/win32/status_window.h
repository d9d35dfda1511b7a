#ifndef LAUNCHER_PLATFORM_WIN32_STATUS_WINDOW_H_
#define LAUNCHER_PLATFORM_WIN32_STATUS_WINDOW_H_

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/form_layout.h"
#include "platform/result.h"

namespace platform {

// The window class of every status form.
inline constexpr char kStatusWindowClass[] = "LauncherStatusForm";

// The child window id of the control at `index` in the form's layout.
constexpr int StatusControlId(size_t index) { return 100 + static_cast<int>(index); }

// A form built from its layout: a top-level window that is never shown, one
// child per control (its id StatusControlId of its place in the layout),
// positions converted from twips at the screen's resolution. The window and
// its fonts go when the object goes.
class StatusWindow {
 public:
  // Creates the window. A failure when it cannot be created.
  static Result<std::unique_ptr<StatusWindow>> Create(const FormLayout& layout);
  StatusWindow(const StatusWindow&) = delete;
  StatusWindow& operator=(const StatusWindow&) = delete;
  ~StatusWindow();

  // True when this window was built from `layout`.
  bool Shows(const FormLayout& layout) const { return &layout == layout_; }

  // Sets the caption of `control`. A failure when the form has no such
  // control or the text cannot be set.
  Status SetCaption(std::string_view control, const std::string& text);

  HWND window() const { return window_; }

 private:
  explicit StatusWindow(const FormLayout& layout) : layout_(&layout) {}

  const FormLayout* layout_;
  HWND window_ = nullptr;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_STATUS_WINDOW_H_
