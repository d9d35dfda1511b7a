#include "bench/line_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace bench {
namespace {

TEST(LineScanTest, CountsLinesHoldingABracket) {
  const struct {
    std::string bytes;
    size_t expected;
  } cases[] = {
      {"", 0},
      {"[s]", 1},
      {"[s]\r\n11=a\r\n[t]\r\n", 2},
      {"a[b\r\n[[\r\n", 2},
      {"[s]\n[t]\r\n", 1},  // a lone line feed does not end a line
      {"a\r[\rb", 1},
      {"a\r\n\n[\r\n", 1},
      {"a\r\n", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CountBracketLines(c.bytes), c.expected) << c.bytes;
}

}  // namespace
}  // namespace bench
