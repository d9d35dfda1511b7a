#include "platform/win32/status_window.h"

#include "platform/join.h"
#include "platform/win32/system_message.h"
#include "resource_ids.h"

namespace platform {
namespace {

// A fixed, single-border frame: the form cannot be resized.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct Resolution {
  int x = 96;
  int y = 96;
};

Resolution ScreenResolution() {
  Resolution resolution;
  HDC screen = ::GetDC(nullptr);
  if (screen != nullptr) {
    resolution.x = ::GetDeviceCaps(screen, LOGPIXELSX);
    resolution.y = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
  return resolution;
}

int TwipsToPixels(int twips, int dots_per_inch) { return ::MulDiv(twips, dots_per_inch, 1440); }

// The class is registered once per process and kept; a second registration
// fails, which is fine, and a failed first one shows as the window fails.
void RegisterFormClass(HINSTANCE instance) {
  WNDCLASSA form_class = {};
  form_class.lpfnWndProc = ::DefWindowProcA;
  form_class.hInstance = instance;
  form_class.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form_class.lpszClassName = kStatusWindowClass;
  ::RegisterClassA(&form_class);
}

void SetIcons(HWND window, HINSTANCE instance) {
  // An executable without the icon resource simply has no window icon.
  HICON big = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LAUNCHER));
  if (big == nullptr) return;
  HICON small = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_LAUNCHER),
                                                IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(small != nullptr ? small : big));
}

}  // namespace

Result<std::unique_ptr<StatusWindow>> StatusWindow::Create(const FormLayout& layout) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  RegisterFormClass(instance);
  const Resolution resolution = ScreenResolution();
  std::unique_ptr<StatusWindow> form(new StatusWindow(layout));

  RECT frame = {0, 0, TwipsToPixels(layout.client_width, resolution.x),
                TwipsToPixels(layout.client_height, resolution.y)};
  ::AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  // Never WS_VISIBLE, and nothing ever shows it.
  form->window_ = ::CreateWindowExA(0, kStatusWindowClass, layout.caption, kFormStyle,
                                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (form->window_ == nullptr) {
    return SystemFailure(::GetLastError(), Join({"cannot create ", layout.name}));
  }
  SetIcons(form->window_, instance);

  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlLayout& control = layout.controls[i];
    const bool button = control.kind == ControlLayout::Kind::kCommandButton;
    // A button's clicks reach DefWindowProc, which ignores them.
    const DWORD style = WS_CHILD | WS_VISIBLE | (button ? BS_PUSHBUTTON | WS_TABSTOP : SS_LEFT);
    HWND child = ::CreateWindowExA(
        0, button ? "BUTTON" : "STATIC", control.caption, style,
        TwipsToPixels(control.left, resolution.x), TwipsToPixels(control.top, resolution.y),
        TwipsToPixels(control.width, resolution.x), TwipsToPixels(control.height, resolution.y),
        form->window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusControlId(i))), instance,
        nullptr);
    if (child == nullptr)
      return SystemFailure(::GetLastError(), Join({"cannot create ", layout.name}));
    HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
    if (control.font.face[0] != '\0') {
      font = ::CreateFontA(-::MulDiv(control.font.points, resolution.y, 72), 0, 0, 0,
                           control.font.bold ? FW_BOLD : FW_NORMAL, control.font.italic, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, control.font.face);
    }
    if (font != nullptr) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return form;
}

StatusWindow::~StatusWindow() {
  if (window_ == nullptr) return;
  // Each control's font; deleting the stock one does nothing, as documented.
  for (size_t i = 0; i < layout_->controls.size(); ++i) {
    HWND control = ::GetDlgItem(window_, StatusControlId(i));
    if (control != nullptr)
      ::DeleteObject(reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  }
  ::DestroyWindow(window_);  // its children go with it
}

Status StatusWindow::SetCaption(std::string_view control, const std::string& text) {
  const int index = layout_->Find(control);
  if (index < 0)
    return Failure(error::kGeneric, Join({layout_->name, " has no control ", control}));
  if (!::SetWindowTextA(::GetDlgItem(window_, StatusControlId(index)), text.c_str())) {
    return SystemFailure(::GetLastError(), Join({"cannot set ", layout_->name, ".", control}));
  }
  return {};
}

}  // namespace platform
