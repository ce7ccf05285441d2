#pragma once

// The game's value kinds and their rounding rules, in one place.
//   fixed: a signed 64-bit count of ten-thousandths, exact under + and -;
//   int16: conversions round half to even;
//   flag:  true is -1, false is 0.

#include <cmath>
#include <compare>
#include <cstdint>
#include <limits>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace quarrow {

using Flag = std::int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

// std::bit_cast, which not every standard library the core is built with offers; both compilers
// have the builtin beneath it.
template <typename To, typename From>
constexpr To BitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}

inline constexpr Flag ToFlag(bool value) {
  return value ? kTrue : kFalse;
}

struct Fixed {
  static constexpr std::int64_t kScale = 10000;
  // Beyond this the count saturates, so that sums of two stored values never overflow.
  static constexpr std::int64_t kLimit = (std::int64_t{1} << 62) - 1;

  std::int64_t count = 0;

  static constexpr Fixed FromCount(std::int64_t count) { return Fixed{count}; }
  static constexpr Fixed FromInt(std::int64_t whole) { return Fixed{whole * kScale}; }

  constexpr double ToDouble() const { return static_cast<double>(count) / 10000.0; }

  friend constexpr Fixed operator+(Fixed a, Fixed b) { return Fixed{a.count + b.count}; }
  friend constexpr Fixed operator-(Fixed a, Fixed b) { return Fixed{a.count - b.count}; }
  friend constexpr Fixed operator-(Fixed a) { return Fixed{-a.count}; }
  friend constexpr Fixed operator+(Fixed a, std::int64_t b) { return a + FromInt(b); }
  friend constexpr Fixed operator-(Fixed a, std::int64_t b) { return a - FromInt(b); }
  friend constexpr bool operator==(Fixed, Fixed) = default;
  friend constexpr auto operator<=>(Fixed, Fixed) = default;
};

inline Fixed Abs(Fixed v) {
  return Fixed{v.count < 0 ? -v.count : v.count};
}

// Rounds to a whole number, ties to even, as nearbyint does under the default rounding mode,
// without a library call: adding and removing 2^52 leaves no fraction bits, and 2^52 is even.
inline double RoundHalfEven(double v) {
#if defined(__wasm__)
  return __builtin_nearbyint(v);  // one instruction there
#endif
  constexpr double kShift = 0x1p52;
  if (!(std::fabs(v) < kShift)) {
    return v;  // already whole, or not a number
  }
  return v >= 0 ? (v + kShift) - kShift : (v - kShift) + kShift;
}

// The same for |v| < 2^51, in one addition and one subtraction: adding 1.5 * 2^52 lands where
// doubles are whole numbers whatever the sign, so no branch is needed.
inline double RoundHalfEvenBelow2p51(double v) {
  constexpr double kShift = 0x1.8p52;
  return (v + kShift) - kShift;
}

// RoundHalfEvenBelow2p51(v) as an integer. WebAssembly's conversion of a double to an integer is
// slow under V8; there the sum's bit pattern already holds the whole number, offset by the shift's.
// On x86-64 one conversion rounds to the nearest, ties to even, in the same default rounding mode.
inline std::int64_t WholeBelow2p51(double v) {
#if defined(__wasm__)
  constexpr double kShift = 0x1.8p52;
  return BitCast<std::int64_t>(v + kShift) - BitCast<std::int64_t>(kShift);
#elif defined(__x86_64__)
  return _mm_cvtsd_si64(_mm_set_sd(v));
#else
  return static_cast<std::int64_t>(RoundHalfEvenBelow2p51(v));
#endif
}

namespace detail {
// ToFixed of a scaled value of any size.
inline Fixed ToFixedAnySize(double scaled) {
  const double rounded = RoundHalfEven(scaled);
  // 2^62: every double below it converts to at most kLimit.
  constexpr double kLimit = 0x1p62;
  if (std::fabs(rounded) < kLimit) {
    return Fixed{static_cast<std::int64_t>(rounded)};
  }
  if (!(rounded == rounded)) {
    return Fixed{0};
  }
  return Fixed{rounded > 0 ? Fixed::kLimit : -Fixed::kLimit};
}
}  // namespace detail

// Nearest ten-thousandth, ties to even. Not-a-number becomes 0 and out-of-range values saturate:
// a pointer far off the court must not overflow the game's sums.
inline Fixed ToFixed(double v) {
  const double scaled = v * 10000.0;
  if (std::fabs(scaled) < 0x1p51) [[likely]] {
    return Fixed{WholeBelow2p51(scaled)};
  }
  return detail::ToFixedAnySize(scaled);
}

namespace detail {
inline std::int16_t SaturateInt16(std::int64_t whole) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int16_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(whole > kMax ? kMax : whole < kMin ? kMin : whole);
}
}  // namespace detail

// Nearest integer, ties to even; saturates at the int16 range, and not-a-number gives 0.
inline std::int16_t ToInt16(double v) {
  const double rounded = RoundHalfEven(v);
  if (!(rounded == rounded)) {
    return 0;
  }
  constexpr double kMax = std::numeric_limits<std::int16_t>::max();
  constexpr double kMin = std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(rounded > kMax ? kMax : rounded < kMin ? kMin : rounded);
}

namespace detail {
// ToInt16 of a fixed value of any size, by a signed division.
inline std::int16_t WholeOfAnyFixed(Fixed v) {
  std::int64_t whole = v.count / Fixed::kScale;
  std::int64_t rest = v.count % Fixed::kScale;  // same sign as count
  if (rest < 0) {
    rest += Fixed::kScale;
    whole -= 1;
  }
  if (2 * rest > Fixed::kScale || (2 * rest == Fixed::kScale && whole % 2 != 0)) {
    whole += 1;
  }
  return SaturateInt16(whole);
}
}  // namespace detail

// A fixed value to the nearest whole number, ties to even, exactly.
inline std::int16_t ToInt16(Fixed v) {
  // Within the int16 range the quotient in double is a tie exactly when the count is one, and
  // otherwise lies at least 1e-4 from one, far beyond its rounding: one rounding settles it.
  constexpr std::int64_t kLow = -32768 * Fixed::kScale - Fixed::kScale / 2;
  constexpr std::int64_t kHigh = 32767 * Fixed::kScale + Fixed::kScale / 2;  // rounds up, to 32768
  // Unsigned, so that no count overflows and every one below the range lands above it.
  const std::uint64_t moved =
      static_cast<std::uint64_t>(v.count) - static_cast<std::uint64_t>(kLow);
  if (moved < static_cast<std::uint64_t>(kHigh - kLow)) [[likely]] {
    return static_cast<std::int16_t>(
        WholeBelow2p51(static_cast<double>(v.count) / static_cast<double>(Fixed::kScale)));
  }
  return detail::WholeOfAnyFixed(v);
}

// Whether a fixed value rounds to a whole number, ties to even; the same as ToInt16(v) == whole
// without the division.
inline bool RoundsTo(Fixed v, std::int16_t whole) {
  // The offset moved up by half a unit, unsigned so that it cannot overflow: a value farther off,
  // as in most calls, fails one comparison; the half itself belongs to an even whole only.
  constexpr std::uint64_t kHalf = Fixed::kScale / 2;
  const std::uint64_t moved = static_cast<std::uint64_t>(v.count) -
                              static_cast<std::uint64_t>(Fixed::FromInt(whole).count) + kHalf;
  if (moved > 2 * kHalf) {
    return false;
  }
  return (moved != 0 && moved != 2 * kHalf) || whole % 2 == 0;
}

// Half of a whole number, exactly: the court's middle lies on a half pixel for an odd width.
inline constexpr Fixed HalfOf(std::int64_t whole) {
  return Fixed{whole * (Fixed::kScale / 2)};
}

inline Fixed ToFixed(std::int16_t v) {
  return Fixed::FromInt(v);
}

// A number that is either exact (fixed) or a double, and keeps its kind: an aim point is a player's
// fixed position or an average of positions, and each is used in its own arithmetic.
struct Number {
  bool exact = true;
  Fixed fixed;
  double real = 0.0;

  static Number Of(Fixed v) { return Number{true, v, 0.0}; }
  static Number Of(double v) { return Number{false, Fixed{}, v}; }
  double ToDouble() const { return exact ? fixed.ToDouble() : real; }
};

inline std::int16_t ToInt16(Number v) {
  return v.exact ? ToInt16(v.fixed) : ToInt16(v.real);
}

}  // namespace quarrow
