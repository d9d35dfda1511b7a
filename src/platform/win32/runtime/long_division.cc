// 64-bit division, which a 32-bit processor has no instruction for; GCC
// calls these by name. libgcc has them too, but built for the i686 and with
// unwind tables that the launcher carries nowhere else. Shift and subtract,
// one bit at a time: the launcher divides a few numbers once. Nothing here
// may divide 64-bit numbers itself, or it would call itself.
#include <cstdint>

namespace {

std::uint64_t Divide(std::uint64_t numerator, std::uint64_t divisor, std::uint64_t* remainder) {
  if ((numerator >> 32) == 0 && (divisor >> 32) == 0) {
    // 32 bits each: one divide instruction.
    const auto n = static_cast<std::uint32_t>(numerator);
    const auto d = static_cast<std::uint32_t>(divisor);
    *remainder = n % d;
    return n / d;
  }
  std::uint64_t quotient = 0;
  std::uint64_t rest = 0;
  for (int bit = 63; bit >= 0; --bit) {
    // After k bits the rest is below 2^k, so the shift loses nothing.
    rest = (rest << 1) | ((numerator >> bit) & 1);
    if (rest >= divisor) {
      rest -= divisor;
      quotient |= std::uint64_t{1} << bit;
    }
  }
  *remainder = rest;
  return quotient;
}

std::uint64_t Magnitude(std::int64_t value) {
  const auto bits = static_cast<std::uint64_t>(value);
  return value < 0 ? 0 - bits : bits;
}

}  // namespace

extern "C" {

std::uint64_t __udivdi3(std::uint64_t numerator, std::uint64_t divisor) {
  std::uint64_t remainder;
  return Divide(numerator, divisor, &remainder);
}

std::uint64_t __umoddi3(std::uint64_t numerator, std::uint64_t divisor) {
  std::uint64_t remainder;
  Divide(numerator, divisor, &remainder);
  return remainder;
}

// Both at once, where the code wants both.
std::uint64_t __udivmoddi4(std::uint64_t numerator, std::uint64_t divisor,
                           std::uint64_t* remainder) {
  return Divide(numerator, divisor, remainder);
}

// Signed: the quotient rounds toward zero, the remainder takes the sign of
// the numerator.
std::int64_t __divdi3(std::int64_t numerator, std::int64_t divisor) {
  std::uint64_t remainder;
  const std::uint64_t quotient = Divide(Magnitude(numerator), Magnitude(divisor), &remainder);
  return static_cast<std::int64_t>((numerator < 0) != (divisor < 0) ? 0 - quotient : quotient);
}

std::int64_t __moddi3(std::int64_t numerator, std::int64_t divisor) {
  std::uint64_t remainder;
  Divide(Magnitude(numerator), Magnitude(divisor), &remainder);
  return static_cast<std::int64_t>(numerator < 0 ? 0 - remainder : remainder);
}

std::int64_t __divmoddi4(std::int64_t numerator, std::int64_t divisor, std::int64_t* remainder) {
  *remainder = __moddi3(numerator, divisor);
  return __divdi3(numerator, divisor);
}

}  // extern "C"
