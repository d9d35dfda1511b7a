#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "failure_matchers.h"

namespace platform {
namespace {

using Lines = std::vector<std::string>;

Lines Split(const std::string& bytes, size_t chunk_size) {
  size_t position = 0;
  LineReader reader(
      [&](char* buffer, size_t size) -> Result<size_t> {
        const size_t count = std::min(size, bytes.size() - position);
        std::memcpy(buffer, bytes.data() + position, count);
        position += count;
        return count;
      },
      chunk_size);
  Lines lines;
  while (!*reader.AtEnd()) lines.emplace_back(*reader.ReadLine());
  return lines;
}

struct SplitCase {
  std::string bytes;
  Lines lines;
};

TEST(LineReaderTest, SplitsAlikeWhateverTheChunkSize) {
  const SplitCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\r\nc", {"a\nb", "c"}},
      {"\r\r\n\r", {"", "", ""}},
      {"\r\n", {""}},
      {"\n", {"\n"}},
      {"a\r\n\nb", {"a", "\nb"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
      {std::string(1000, 'L') + "\r\nshort", {std::string(1000, 'L'), "short"}},
  };
  for (size_t chunk : {1, 2, 3, 5, 64 * 1024}) {
    for (const SplitCase& c : cases) {
      EXPECT_EQ(Split(c.bytes, chunk), c.lines) << "chunk " << chunk << ": " << c.bytes;
    }
  }
}

TEST(LineReaderTest, ReadErrorsPassUp) {
  LineReader reader([](char*, size_t) -> Result<size_t> { return Failure(53, "io"); });
  EXPECT_THAT(reader.AtEnd(), FailsWith(53));
  EXPECT_THAT(reader.ReadLine(), FailsWith(53));
}

}  // namespace
}  // namespace platform
