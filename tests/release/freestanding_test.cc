// The freestanding runtime (src/platform/win32/runtime) in a program built
// like the launcher, with no other C or C++ runtime to fall back on: the
// string functions, 64-bit division and allocation, and the library parts
// the launcher leans on (strings, vectors, virtual calls, to_string).
// Prints "N passed, M failed"; ends with status 0 when nothing failed.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

extern "C" {
std::uint64_t __udivmoddi4(std::uint64_t, std::uint64_t, std::uint64_t*);
std::int64_t __divmoddi4(std::int64_t, std::int64_t, std::int64_t*);
std::uint64_t __udivdi3(std::uint64_t, std::uint64_t);
std::uint64_t __umoddi3(std::uint64_t, std::uint64_t);
std::int64_t __divdi3(std::int64_t, std::int64_t);
std::int64_t __moddi3(std::int64_t, std::int64_t);
}

namespace {

int passed = 0;
int failed = 0;

void Print(const std::string& text) {
  DWORD written;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

void Check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    Print("FAILED: " + what + "\r\n");
  }
}

void StringFunctions() {
  struct Move {
    int to, from, size;
    const char* expected;
  };
  for (const Move& m :
       {Move{2, 0, 6, "0101234589"}, Move{0, 2, 6, "2345676789"}, Move{1, 0, 9, "0012345678"},
        Move{0, 1, 9, "1234567899"}, Move{0, 5, 5, "5678956789"}, Move{3, 3, 4, "0123456789"},
        Move{4, 2, 0, "0123456789"}}) {
    char text[] = "0123456789";
    std::memmove(text + m.to, text + m.from, m.size);
    Check(std::string(text) == m.expected,
          "memmove " + std::to_string(m.to) + " <- " + std::to_string(m.from) + ": " + text);
  }
  char copy[8] = {};
  std::memcpy(copy, "abcdefg", 7);
  Check(std::string(copy) == "abcdefg", "memcpy");
  std::memset(copy + 2, 0x80, 3);
  Check(std::memcmp(copy, "ab\200\200\200fg", 8) == 0, "memset");

  struct Compare {
    const char *left, *right;
    int size, sign;
  };
  // Bytes compare as unsigned: 0x80 is above 0x01.
  for (const Compare& c :
       {Compare{"abc", "abd", 3, -1}, Compare{"abd", "abc", 3, 1}, Compare{"abc", "abd", 2, 0},
        Compare{"\200", "\001", 1, 1}, Compare{"a", "b", 0, 0}}) {
    const int result = std::memcmp(c.left, c.right, c.size);
    Check((result > 0) - (result < 0) == c.sign,
          std::string("memcmp ") + c.left + " " + c.right + " " + std::to_string(c.size));
  }
  const char bytes[] = "ab\200cb";
  Check(std::memchr(bytes, 'b', 5) == bytes + 1, "memchr first match");
  Check(std::memchr(bytes, -128, 5) == bytes + 2, "memchr of a negative int");
  Check(std::memchr(bytes, 'b', 1) == nullptr, "memchr stops at the size");
  Check(std::strlen("") == 0 && std::strlen(bytes) == 5, "strlen");

  // Over 4 KiB of locals: the frame is probed page by page (libgcc's
  // ___chkstk_ms).
  char page[6000];
  std::memset(page, 'p', sizeof page);
  page[sizeof page - 1] = 'q';
  Check(std::memchr(page, 'q', sizeof page) == page + sizeof page - 1, "a frame over 4 KiB");
}

void Division() {
  struct Unsigned {
    std::uint64_t numerator, divisor, quotient, remainder;
  };
  for (const Unsigned& u : {
           Unsigned{7, 2, 3, 1},
           Unsigned{~0ull, 1, ~0ull, 0},
           Unsigned{~0ull, ~0ull, 1, 0},
           Unsigned{~0ull, 0x8000000000000001, 1, 0x7FFFFFFFFFFFFFFE},
           Unsigned{0x8000000000000000, 3, 0x2AAAAAAAAAAAAAAA, 2},
           Unsigned{0x123456789ABCDEF0, 0x100000000, 0x12345678, 0x9ABCDEF0},
           Unsigned{0x100000000, 0xFFFFFFFF, 1, 1},
           Unsigned{5, 0x100000000, 0, 5},
           Unsigned{~0ull - 1, ~0ull, 0, ~0ull - 1},
       }) {
    std::uint64_t remainder = 0;
    const std::uint64_t quotient = __udivmoddi4(u.numerator, u.divisor, &remainder);
    Check(quotient == u.quotient && remainder == u.remainder &&
              __udivdi3(u.numerator, u.divisor) == u.quotient &&
              __umoddi3(u.numerator, u.divisor) == u.remainder,
          "unsigned " + std::to_string(u.numerator) + " / " + std::to_string(u.divisor));
  }
  struct Signed {
    std::int64_t numerator, divisor, quotient, remainder;
  };
  constexpr std::int64_t kMin = INT64_MIN;
  for (const Signed& s : {
           Signed{7, -2, -3, 1},
           Signed{-7, 2, -3, -1},
           Signed{-7, -2, 3, -1},
           Signed{kMin, 1, kMin, 0},
           Signed{kMin, 3, -3074457345618258602, -2},
           Signed{kMin, kMin, 1, 0},
           Signed{INT64_MAX, -1, -INT64_MAX, 0},
           Signed{-1, INT64_MAX, 0, -1},
           Signed{-0x123456789ABCDEF, 0x10000, -1250999896491, -52719},
       }) {
    std::int64_t remainder = 0;
    const std::int64_t quotient = __divmoddi4(s.numerator, s.divisor, &remainder);
    Check(quotient == s.quotient && remainder == s.remainder &&
              __divdi3(s.numerator, s.divisor) == s.quotient &&
              __moddi3(s.numerator, s.divisor) == s.remainder,
          "signed " + std::to_string(s.numerator) + " / " + std::to_string(s.divisor));
  }
}

struct Shape {
  virtual ~Shape() = default;
  virtual int Area() const = 0;
};
struct Square : Shape {
  explicit Square(int side) : side(side) {}
  int Area() const override { return side * side; }
  int side;
};

void Allocation() {
  std::vector<std::unique_ptr<Shape>> shapes;
  for (int side = 1; side <= 100; ++side) shapes.push_back(std::make_unique<Square>(side));
  int total = 0;
  for (const auto& shape : shapes) total += shape->Area();
  Check(total == 338350, "virtual calls through a vector of 100: " + std::to_string(total));

  std::string text(5000, 'x');
  text += std::to_string(-1234567890123ll);
  Check(text.size() == 5014 && text.substr(5000) == "-1234567890123", "string growth");

  void* first = ::operator new(0);
  void* second = ::operator new(0);
  Check(first != nullptr && second != nullptr && first != second, "new of zero bytes");
  ::operator delete(first);
  ::operator delete(second);
  Check(::operator new (~std::size_t{0} / 2, std::nothrow) == nullptr, "nothrow new that fails");
}

}  // namespace

extern "C" void WINAPI FreestandingTestStart() {
  StringFunctions();
  Division();
  Allocation();
  Print(std::to_string(passed) + " passed, " + std::to_string(failed) + " failed\r\n");
  ::ExitProcess(failed == 0 ? 0 : 1);
}
