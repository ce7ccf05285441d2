#include "game/values.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace quarrow {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Values, FixedRoundsTheScaledDoubleHalfToEven) {
  struct Case {
    double value;
    std::int64_t count;
  };
  // The tie is judged on value * 10000.0 as a double: 0.00015 scales to 1.4999999999999998 and
  // 1.00005 to 10000.500000000002, so neither is a tie.
  const Case cases[] = {
      {0.00005, 0},   {0.00025, 2},     {0.00035, 4},       {-0.00005, 0},
      {-0.00025, -2}, {-0.00035, -4},   {0.12345, 1234},    {2.50005, 25000},
      {0.00015, 1},   {1.00005, 10001}, {-128.5, -1285000}, {237.0, 2370000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToFixed(c.value).count, c.count) << c.value;
  }
}

TEST(Values, Int16RoundsHalfToEvenAndSaturates) {
  struct Case {
    double value;
    std::int16_t expected;
  };
  const Case cases[] = {
      {12.5, 12},    {13.5, 14},      {-2.5, -2},       {-3.5, -4},     {0.5, 0},
      {-0.5, 0},     {12.4999, 12},   {12.5001, 13},    {1e300, 32767}, {-1e300, -32768},
      {kInf, 32767}, {-kInf, -32768}, {32767.5, 32767}, {kNaN, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToInt16(c.value), c.expected) << c.value;
  }
}

TEST(Values, WholeOfFixedRoundsHalfToEven) {
  // {count of ten-thousandths, whole}
  const std::int64_t cases[][2] = {
      {125000, 12},
      {135000, 14},
      {125001, 13},
      {-25000, -2},
      {-35000, -4},
      {-25001, -3},
      {-24999, -2},
      {5000, 0},
      {-5000, 0},
      {1305000, 130},
      {1315000, 132},
      {844999, 84},
      {Fixed::kLimit, 32767},
      {-Fixed::kLimit, -32768},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInt16(Fixed::FromCount(c[0])), c[1]) << c[0];
  }
}

// Against quad precision: its quotient holds every count exactly enough that a tie is exact and any
// other quotient lies far from one, so the library's rounding of it is the answer.
TEST(Values, WholeOfFixedEqualsTheQuadRounding) {
  const auto reference = [](std::int64_t count) {
    const __float128 whole = nearbyintq(static_cast<__float128>(count) / 10000);
    return whole > 32767 ? 32767 : whole < -32768 ? -32768 : static_cast<std::int64_t>(whole);
  };
  std::mt19937_64 bits(11);
  // The last two as far out as the units below leave room for.
  constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() - 300'000'000;
  for (std::int64_t edge :
       {std::int64_t{0}, std::int64_t{327'675'000}, std::int64_t{-327'685'000}, kFar, -kFar}) {
    for (std::int64_t units = -4'000; units <= 4'000; ++units) {
      const std::uint64_t b = bits();
      // Each unit's tie and neighbours, and any count, near each end of the quick range.
      const std::int64_t tie = edge / 10000 * 10000 + units * 10000 + 5000;
      for (std::int64_t count :
           {tie - 1, tie, tie + 1, edge + units, static_cast<std::int64_t>(b >> (b % 64))}) {
        ASSERT_EQ(ToInt16(Fixed::FromCount(count)), reference(count)) << count;
      }
    }
  }
}

TEST(Values, AbsurdDoublesSaturateInsteadOfOverflowing) {
  EXPECT_EQ(ToFixed(kNaN).count, 0);
  const Fixed big = ToFixed(1e300);
  EXPECT_EQ(big, ToFixed(kInf));
  EXPECT_GT(big, ToFixed(1e14));
  EXPECT_EQ(ToFixed(-1e300), -big);
  EXPECT_EQ(ToInt16(big), 32767);
}

// A saturated value must survive the game's sums: a position plus a step, a difference of two.
TEST(Values, SumsOfSaturatedValuesDoNotOverflow) {
  const Fixed big = ToFixed(1e300);
  EXPECT_GT((big + big).count, 0);
  EXPECT_GT((big - (-big)).count, 0);
}

// The reference is the library's rounding of the scaled double, then saturation.
TEST(Values, FixedEqualsTheLibraryRoundingOfEveryKindOfDouble) {
  const auto reference = [](double v) {
    const double rounded = std::nearbyint(v * 10000.0);
    return std::isnan(rounded)  ? 0
           : rounded >= 0x1p62  ? Fixed::kLimit
           : rounded <= -0x1p62 ? -Fixed::kLimit
                                : static_cast<std::int64_t>(rounded);
  };
  std::mt19937_64 bits(7);
  for (int i = 0; i < 300'000; ++i) {
    const std::uint64_t b = bits();
    const double anyDouble = std::bit_cast<double>(b);
    // Ties and their neighbours in ten-thousandths, up to beyond 2^53 of them, either sign.
    const double tie = (static_cast<double>(b >> (b % 64)) + 0.5) * (b % 2 != 0 ? -1 : 1);
    for (double v : {anyDouble, tie / 10000.0, std::nextafter(tie, 0) / 10000.0, tie}) {
      ASSERT_EQ(ToFixed(v).count, reference(v)) << v;
    }
  }
}

// The simple form: round the value and compare.
TEST(Values, RoundsToAgreesWithTheRoundedValue) {
  for (std::int16_t whole : {-3, -2, 0, 1, 12, 13}) {
    for (std::int64_t offset = -10001; offset <= 10001; ++offset) {
      const Fixed v = Fixed::FromInt(whole) + Fixed::FromCount(offset);
      ASSERT_EQ(RoundsTo(v, whole), ToInt16(v) == whole) << whole << " + " << offset;
    }
  }
}

}  // namespace
}  // namespace quarrow
