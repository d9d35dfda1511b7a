// Reading real files through the Win32 host: line ends, bytes, failures and
// the file handle's lifetime.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failure_matchers.h"
#include "platform/line_reader.h"
#include "platform/win32/win32_host.h"
#include "test_support.h"

namespace {

using platform::FailsWith;
using platform::Succeeds;

// The lines of what `input` reads, split as launch.ini is.
std::vector<std::string> ReadAll(platform::Result<std::unique_ptr<platform::TextInput>>& input) {
  EXPECT_THAT(input, Succeeds());
  if (!input.ok()) return {};
  platform::LineReader reader(
      [&input](char* buffer, size_t size) { return (*input)->Read(buffer, size); });
  std::vector<std::string> lines;
  while (!*reader.AtEnd()) lines.emplace_back(*reader.ReadLine());
  return lines;
}

class TextInputTest : public testing::Test {
 protected:
  win32_test::TempDirectory directory_;
  std::unique_ptr<platform::Host> host_ = platform::NewWin32Host();
};

struct LinesCase {
  const char* label;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST_F(TextInputTest, SplitsLinesAtCarriageReturns) {
  const std::string chunk(64 * 1024, 'x');
  const LinesCase cases[] = {
      {"CR", "a\rb\r", {"a", "b"}},
      {"CRLF", "a\r\nb\r\n", {"a", "b"}},
      {"lone LF is a character", "a\nb\r\nc", {"a\nb", "c"}},
      {"no final terminator", "a\r\nlast", {"a", "last"}},
      {"empty lines", "\r\r\n\r", {"", "", ""}},
      {"8-bit bytes", "\xe9t\xe9\r\n\xff\x80", {"\xe9t\xe9", "\xff\x80"}},
      {"empty file", "", {}},
      {"long line across chunks",
       std::string(200000, 'y') + "\r\nend",
       {std::string(200000, 'y'), "end"}},
      {"CRLF split between chunks", chunk.substr(1) + "\r\ntail", {chunk.substr(1), "tail"}},
  };
  for (const LinesCase& test : cases) {
    SCOPED_TRACE(test.label);
    const std::string path = directory_.WriteFile("launch.ini", test.bytes);
    auto input = host_->OpenTextInput(path);
    EXPECT_EQ(ReadAll(input), test.lines);
  }
}

TEST_F(TextInputTest, MissingFileFailsWithItsPath) {
  const std::string path = directory_.path() + "\\missing.ini";
  const auto input = host_->OpenTextInput(path);
  ASSERT_THAT(input, FailsWith(ERROR_FILE_NOT_FOUND));
  EXPECT_THAT(input.failure().description(), testing::HasSubstr(path));
}

TEST_F(TextInputTest, DirectoryFailsWithItsPath) {
  const std::string path = directory_.MakeDirectory("launch.ini");
  const auto input = host_->OpenTextInput(path);
  ASSERT_THAT(input, FailsWith(ERROR_ACCESS_DENIED));
  EXPECT_THAT(input.failure().description(), testing::HasSubstr(path));
}

TEST_F(TextInputTest, ReadsAFileAnotherProgramHasOpenForWriting) {
  const std::string path = directory_.WriteFile("launch.ini", "a\r\n");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  auto input = host_->OpenTextInput(path);
  EXPECT_EQ(ReadAll(input), std::vector<std::string>{"a"});
  CloseHandle(writer);
}

TEST_F(TextInputTest, FileStaysOpenUntilTheInputGoes) {
  const std::string path = directory_.WriteFile("launch.ini", "a\r\n");
  auto exclusive = [&path] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  };
  auto input = host_->OpenTextInput(path);
  ASSERT_THAT(input, Succeeds());
  EXPECT_FALSE(exclusive()) << "the file was not open";
  input->reset();
  EXPECT_TRUE(exclusive()) << "the file was not closed";
}

TEST_F(TextInputTest, FileExistsOnlyForFiles) {
  const std::string file = directory_.WriteFile("setup.exe", "");
  const std::string folder = directory_.MakeDirectory("apps");
  EXPECT_TRUE(host_->FileExists(file));
  EXPECT_FALSE(host_->FileExists(folder));
  EXPECT_FALSE(host_->FileExists(directory_.path() + "\\missing.exe"));
  EXPECT_FALSE(host_->FileExists(""));
}

TEST_F(TextInputTest, LowerCaseKeepsLength) {
  EXPECT_EQ(host_->LowerCase("WinXP LaunchFiles"), "winxp launchfiles");
  EXPECT_EQ(host_->LowerCase(std::string("A\0B", 3)), std::string("a\0b", 3));
  EXPECT_EQ(host_->LowerCase(""), "");
  ASSERT_EQ(GetACP(), 1252u) << "needs Wine in code page 1252 (a locale such as C.UTF-8)";
  EXPECT_EQ(host_->LowerCase("\xc9T\xc9"), "\xe9t\xe9");
}

}  // namespace
