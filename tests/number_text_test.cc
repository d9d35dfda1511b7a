#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/failure.h"

namespace platform {
namespace {

// 2^1024 - 2^970: strtod gives infinity from here up. The table below checks
// each of its rows against strtod, which pins this digit by digit.
const std::string kHalfway =
    "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977"
    "587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845"
    "817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559"
    "699508093042880177904174497792";
const std::string kBelowHalfway = kHalfway.substr(0, 308) + "1";

#ifdef __GLIBC__
bool StrtodOverflows(const std::string& text) {
  errno = 0;
  const double value = std::strtod(text.c_str(), nullptr);
  return errno == ERANGE && std::fabs(value) == HUGE_VAL;
}
#endif

TEST(CheckNumberTextTest, AcceptsWhatAUserWritesAsANumber) {
  const char* const cases[] = {
      "11",  "9",    "0",     "11.0", " 12 ",  "\t8\t", "-3",      "+4",        ".5",     "5.",
      "1e3", "1E+2", "25e-1", "007",  "-0.25", "-0",    "0e99999", "0.000e400", "1e-400", "-.0e-0",
  };
  for (const char* text : cases) {
    const Status status = CheckNumberText(text);
    EXPECT_TRUE(status.ok()) << '"' << text << "\": " << status.failure().description();
  }
}

TEST(CheckNumberTextTest, RejectsEverythingElse) {
  const std::string cases[] = {
      "",      " ",     "Office", "11a", "a11",       "1 1",  "1.2.3",
      ".",     "+",     "-",      "1e",  "1e+",       "e5",   "0x10",
      "inf",   "nan",   "1,5",    "--1", "11.0.4518", "1d2",  "+-1",
      "1e5.5", "1e+-5", ". 5",    "\n1", "1\n",       "1 e5", std::string("1\0", 2),
      "+.e1",
  };
  for (const std::string& text : cases) {
    const Status status = CheckNumberText(text);
    ASSERT_FALSE(status.ok()) << '"' << text << "\" was accepted";
    EXPECT_EQ(status.failure().number(), error::kInvalidData) << '"' << text << '"';
    EXPECT_EQ(status.failure().description(), "not a number: \"" + text + "\"");
  }
}

struct Magnitude {
  std::string text;
  bool overflows;
};

TEST(CheckNumberTextTest, NumberBeyondDoubleIsAnOverflow) {
  const std::string zeros(100000, '0');
  const Magnitude cases[] = {
      {"1e308", false},
      {"1e309", true},
      {"0.1e309", false},
      {"10e308", true},
      {"-1e400", true},
      {"1.7976931348623158e308", false},
      {"1.7976931348623159e308", true},
      {kHalfway, true},
      {"-" + kHalfway, true},
      {kBelowHalfway, false},
      {kBelowHalfway + ".99999999999999999999", false},
      {kHalfway.substr(0, 308) + "3", true},
      {zeros + kHalfway, true},
      {" +" + zeros + kBelowHalfway + ".0e0\t", false},
      {"0." + zeros + kHalfway + "e100309", true},
      {"0." + zeros + kBelowHalfway + "e100309", false},
      {kHalfway.substr(0, 1) + "." + kHalfway.substr(1) + "e308", true},
      {kBelowHalfway.substr(0, 1) + "." + kBelowHalfway.substr(1) + "E+308", false},
      {kHalfway + zeros + "e-100000", true},
      {kHalfway.substr(0, 17), false},
      {"9" + zeros + "e-99692", true},
      {"9" + zeros + "e-99693", false},
      {"1e999999999999999999999", true},
      {"1e-999999999999999999999", false},
      {"1" + zeros + "e-9223372036854775808", false},
      {"0." + zeros + "1e9223372036854775807", true},
  };
  for (const Magnitude& c : cases) {
    const std::string shown = c.text.substr(0, 60);
#ifdef __GLIBC__
    // glibc's strtod rounds correctly, the C runtime of the Windows builds
    // not always: the table is pinned natively.
    ASSERT_EQ(StrtodOverflows(c.text), c.overflows) << "the table is wrong for " << shown;
#endif
    const Status status = CheckNumberText(c.text);
    ASSERT_EQ(status.ok(), !c.overflows) << shown;
    if (c.overflows) {
      EXPECT_EQ(status.failure().number(), error::kArithmeticOverflow) << shown;
      EXPECT_EQ(status.failure().description(), "number too large: \"" + c.text + "\"");
    }
  }
}

}  // namespace
}  // namespace platform
