#include "platform/number_text.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace platform {
namespace {

struct Accepted {
  const char* text;
  double value;
};

TEST(ParseNumberTest, AcceptsWhatAUserWritesAsANumber) {
  const Accepted cases[] = {
      {"11", 11},      {"9", 9},         {"0", 0},      {"11.0", 11},    {" 12 ", 12},
      {"\t8\t", 8},    {"-3", -3},       {"+4", 4},     {".5", 0.5},     {"5.", 5},
      {"1e3", 1000},   {"1E+2", 100},    {"25e-1", 2.5}, {"007", 7},     {"-0.25", -0.25},
  };
  for (const Accepted& c : cases) {
    EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(ParseNumberTest, RejectsEverythingElse) {
  const char* const cases[] = {
      "",      " ",    "Office", "11a",  "a11", "1 1", "1.2.3", ".",   "+",     "-",
      "1e",    "1e+",  "e5",     "0x10", "inf", "nan", "1,5",   "--1", "11.0.4518", "1d2",
  };
  for (const char* text : cases) {
    try {
      ParseNumber(text);
      ADD_FAILURE() << '"' << text << "\" was accepted";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), error::kInvalidData) << text;
    }
  }
}

TEST(ParseNumberTest, NumberBeyondDoubleIsAnOverflow) {
  try {
    ParseNumber("1e400");
    FAIL() << "1e400 was accepted";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), error::kArithmeticOverflow);
  }
}

}  // namespace
}  // namespace platform
