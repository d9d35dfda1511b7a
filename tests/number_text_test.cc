#include "platform/number_text.h"

#include <gtest/gtest.h>

#include "failure_matchers.h"

namespace platform {
namespace {

TEST(CheckNumberTextTest, AcceptsWhatAUserWritesAsANumber) {
  const char* const cases[] = {"11", "9",  "0",   "11.0", " 12 ",  "\t8\t", "-3",   "+4",
                               ".5", "5.", "1e3", "1E+2", "25e-1", "007",   "-0.25"};
  for (const char* text : cases) EXPECT_THAT(CheckNumberText(text), Succeeds()) << text;
}

TEST(CheckNumberTextTest, RejectsEverythingElse) {
  const char* const cases[] = {
      "",   " ",   "Office", "11a",  "a11", "1 1", "1.2.3", ".",   "+",         "-",
      "1e", "1e+", "e5",     "0x10", "inf", "nan", "1,5",   "--1", "11.0.4518", "1d2",
  };
  for (const char* text : cases) {
    EXPECT_THAT(CheckNumberText(text), FailsWith(error::kInvalidData)) << '"' << text << '"';
  }
}

TEST(CheckNumberTextTest, NumberBeyondDoubleIsAnOverflow) {
  EXPECT_THAT(CheckNumberText("1e400"), FailsWith(error::kArithmeticOverflow));
}

}  // namespace
}  // namespace platform
