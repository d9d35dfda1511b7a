// The status form as the Win32 host builds it: a hidden window whose child
// controls follow frmMain's layout.
#include <gtest/gtest.h>

#include <string>

#include "failure_matchers.h"
#include "platform/win32/status_window.h"
#include "platform/win32/win32_host.h"
#include "status/frm_main.h"

namespace {

using platform::FailsWith;
using platform::Succeeds;
using status::frmMain;

HWND FindForm() { return FindWindowA(platform::kStatusWindowClass, "Checking System "); }

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

class StatusFormTest : public testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    dpi_x_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpi_y_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }

  int dpi_x_ = 0;
  int dpi_y_ = 0;
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

TEST_F(StatusFormTest, FirstCaptionCreatesHiddenForm) {
  ASSERT_EQ(FindForm(), nullptr);
  ASSERT_THAT(host_->SetCaption(frmMain, "Label1", "11"), Succeeds());
  HWND form = FindForm();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(GetWindowLongA(form, GWL_STYLE) & WS_VISIBLE, 0);

  ASSERT_THAT(host_->SetCaption(frmMain, "Label6", "winxp"), Succeeds());
  EXPECT_EQ(FindForm(), form);
  EXPECT_EQ(FindWindowExA(nullptr, form, platform::kStatusWindowClass, nullptr), nullptr)
      << "a second form";
  EXPECT_FALSE(IsWindowVisible(form));

  host_.reset();
  EXPECT_EQ(FindForm(), nullptr);
}

TEST_F(StatusFormTest, ControlsHoldCaptionsAtTheirPlaces) {
  ASSERT_THAT(host_->SetCaption(frmMain, "Label1", "11"), Succeeds());
  ASSERT_THAT(host_->SetCaption(frmMain, "Label5", "2"), Succeeds());
  HWND form = FindForm();
  ASSERT_NE(form, nullptr);

  RECT client = {};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, MulDiv(4680, dpi_x_, 1440));
  EXPECT_EQ(client.bottom, MulDiv(3090, dpi_y_, 1440));

  for (size_t i = 0; i < frmMain.controls.size(); ++i) {
    const platform::ControlLayout& layout = frmMain.controls[i];
    SCOPED_TRACE(layout.name);
    HWND control = GetDlgItem(form, platform::StatusControlId(i));
    ASSERT_NE(control, nullptr);
    const std::string_view name = layout.name;
    const std::string expected = name == "Label1" ? "11" : name == "Label5" ? "2" : layout.caption;
    EXPECT_EQ(TextOf(control), expected);

    char class_name[32] = {};
    GetClassNameA(control, class_name, sizeof(class_name));
    const bool button = layout.kind == platform::ControlLayout::Kind::kCommandButton;
    EXPECT_STRCASEEQ(class_name, button ? "Button" : "Static");

    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, MulDiv(layout.left, dpi_x_, 1440));
    EXPECT_EQ(place.top, MulDiv(layout.top, dpi_y_, 1440));
    EXPECT_EQ(place.right - place.left, MulDiv(layout.width, dpi_x_, 1440));
    EXPECT_EQ(place.bottom - place.top, MulDiv(layout.height, dpi_y_, 1440));
  }
}

TEST_F(StatusFormTest, TitleLabelHasItsFont) {
  ASSERT_THAT(host_->SetCaption(frmMain, "Label1", ""), Succeeds());
  HWND form = FindForm();
  ASSERT_NE(form, nullptr);
  HWND title = GetDlgItem(form, platform::StatusControlId(0));
  ASSERT_STREQ(frmMain.controls[0].name, "Label7");
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(title, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA description = {};
  ASSERT_NE(GetObjectA(font, sizeof(description), &description), 0);
  EXPECT_STREQ(description.lfFaceName, "Verdana");
  EXPECT_EQ(description.lfHeight, -MulDiv(18, dpi_y_, 72));
  EXPECT_EQ(description.lfWeight, FW_BOLD);
  EXPECT_TRUE(description.lfItalic);

  HFONT other = reinterpret_cast<HFONT>(
      SendMessageA(GetDlgItem(form, platform::StatusControlId(1)), WM_GETFONT, 0, 0));
  EXPECT_NE(other, font);
}

TEST_F(StatusFormTest, FormCarriesTheProgramIcon) {
  if (FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)) == nullptr) {
    GTEST_SKIP() << "this program has no icon resource";
  }
  ASSERT_THAT(host_->SetCaption(frmMain, "Label1", ""), Succeeds());
  HWND form = FindForm();
  ASSERT_NE(form, nullptr);
  EXPECT_NE(SendMessageA(form, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(form, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(StatusFormTest, UnknownControlFails) {
  EXPECT_THAT(host_->SetCaption(frmMain, "Label8", "x"), FailsWith(platform::error::kGeneric));
  EXPECT_EQ(FindForm(), nullptr) << "a failed first write left a form";
  ASSERT_THAT(host_->SetCaption(frmMain, "Label2", "2600"), Succeeds());
  EXPECT_THAT(host_->SetCaption(frmMain, "label2", "x"), FailsWith(platform::error::kGeneric));
  EXPECT_EQ(TextOf(GetDlgItem(FindForm(), platform::StatusControlId(2))), "2600");
}

TEST_F(StatusFormTest, CommandButtonDoesNothing) {
  ASSERT_THAT(host_->SetCaption(frmMain, "Label1", "11"), Succeeds());
  HWND form = FindForm();
  ASSERT_NE(form, nullptr);
  HWND button = GetDlgItem(form, platform::StatusControlId(7));
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(FindForm(), form);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(TextOf(GetDlgItem(form, platform::StatusControlId(1))), "11");
}

}  // namespace
