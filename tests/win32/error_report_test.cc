// The error report's text as the user reads it in the message box.
#include "platform/win32/error_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ErrorReportTest, ShowsTheNumberAndTheStartOfTheDescription) {
  const platform::LeadBytes single_byte;
  platform::LeadBytes code_page_932;
  for (int byte = 0x81; byte <= 0xFC; ++byte) {
    if (byte <= 0x9F || byte >= 0xE0) code_page_932.Add(static_cast<unsigned char>(byte));
  }
  const std::string x1023(1023, 'x');
  // "ソ" (0x83 0x5C) across the 1,024th byte: cut before it, never through it.
  const std::string double_byte_at_cut = x1023 + "\x83\x5C" + "y";
  const struct {
    std::int32_t number;
    std::string description;
    const platform::LeadBytes& lead;
    std::string shown;
  } cases[] = {
      {2, "cannot start C:\\a.exe", single_byte, "Error 2:\n\ncannot start C:\\a.exe"},
      {static_cast<std::int32_t>(0x800401F3), "no class", single_byte,
       "Error -2147221005 (0x800401F3):\n\nno class"},
      {87, x1023 + "x", single_byte, "Error 87:\n\n" + x1023 + "x"},
      {87, x1023 + "xx", single_byte, "Error 87:\n\n" + x1023 + "x..."},
      {87, double_byte_at_cut, code_page_932, "Error 87:\n\n" + x1023 + "..."},
      {87, double_byte_at_cut, single_byte, "Error 87:\n\n" + x1023 + "\x83..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ErrorReportText(platform::Failure(c.number, c.description), c.lead),
              c.shown)
        << c.number << " " << c.description.size();
  }
}

}  // namespace
