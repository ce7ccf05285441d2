#pragma once

// Sine, cosine and arctangent rounded correctly to double, the same from every compiler and C
// library, and at compile time. The native and the WebAssembly builds' C libraries differ in the
// last bit of some results, and at a four-decimal rounding boundary a last bit decides a heading.
//
// Each function forms its result as a double-double, a pair hi + lo carrying 106 bits, and rounds
// that to double. The double-double lies within kWideBound of the true value, relative: the exact
// argument reduction adds 2 u^2 (u = 2^-53, and 2^-116 for the parts of pi/2 left out), the series
// are truncated below 2^-110, and the published worst-case bounds of the double-double steps add up
// to under 12 u^2 for the sine and cosine and 32 u^2 for the arctangent. The rounding to double is
// then the correct one unless the true value lies within 2^-100 of a midpoint between two doubles;
// the tests certify every four-decimal angle and the game's kinds of quotient to be far from one.
//
// Only +, -, * and / of doubles, each rounded to nearest: no fused multiply-add (the build forbids
// contraction, and WebAssembly has none), so that every compiler gets the same bits.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace quarrow {
namespace exact {

inline constexpr double kWideBound = 0x1p-100;

struct DoubleDouble {
  double hi = 0, lo = 0;  // |lo| <= ulp(hi) / 2 once normalised
};

constexpr DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// TwoSum for |a| >= |b|.
constexpr DoubleDouble FastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a as two halves of 26 bits or fewer, whose products with each other are exact.
constexpr DoubleDouble Split(double a) {
  const double c = 0x1.0000002p27 * a;  // 2^27 + 1
  const double hi = c - (c - a);
  return {hi, a - hi};
}

constexpr DoubleDouble TwoProduct(double a, double b) {
  const double p = a * b;
  const DoubleDouble x = Split(a);
  const DoubleDouble y = Split(b);
  return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// Relative errors: within 2 u^2.
constexpr DoubleDouble Add(DoubleDouble x, double y) {
  const DoubleDouble s = TwoSum(x.hi, y);
  return FastTwoSum(s.hi, x.lo + s.lo);
}

// Within 3 u^2, with cancellation too.
constexpr DoubleDouble Add(DoubleDouble x, DoubleDouble y) {
  const DoubleDouble s = TwoSum(x.hi, y.hi);
  const DoubleDouble t = TwoSum(x.lo, y.lo);
  const DoubleDouble v = FastTwoSum(s.hi, s.lo + t.hi);
  return FastTwoSum(v.hi, t.lo + v.lo);
}

// Within 1.5 u^2.
constexpr DoubleDouble Multiply(DoubleDouble x, double y) {
  const DoubleDouble c = TwoProduct(x.hi, y);
  const DoubleDouble t = FastTwoSum(c.hi, x.lo * y);
  return FastTwoSum(t.hi, t.lo + c.lo);
}

// Within 7 u^2.
constexpr DoubleDouble Multiply(DoubleDouble x, DoubleDouble y) {
  const DoubleDouble c = TwoProduct(x.hi, y.hi);
  return FastTwoSum(c.hi, c.lo + (x.hi * y.lo + x.lo * y.hi));
}

// Within 3 u^2.
constexpr DoubleDouble Divide(DoubleDouble x, double y) {
  const double hi = x.hi / y;
  const DoubleDouble p = TwoProduct(hi, y);
  const double d = ((x.hi - p.hi) - p.lo) + x.lo;
  return FastTwoSum(hi, d / y);
}

// Within 15 u^2.
constexpr DoubleDouble Divide(DoubleDouble x, DoubleDouble y) {
  const double hi = x.hi / y.hi;
  const DoubleDouble r = Multiply(y, hi);
  const double d = (x.hi - r.hi) + (x.lo - r.lo);
  return FastTwoSum(hi, d / y.hi);
}

constexpr DoubleDouble Negated(DoubleDouble x) {
  return {-x.hi, -x.lo};
}

constexpr double Magnitude(double v) {
  return v < 0 ? -v : v;
}

// The nearest whole number, ties to even, for |v| < 2^51.
constexpr double NearestWhole(double v) {
  return (v + 0x1.8p52) - 0x1.8p52;
}

// pi/2 in parts of 33 bits, so that a part times a whole number below 2^20 is exact; what is left
// out lies below 2^-197.
inline constexpr std::array<double, 6> kHalfPiParts = {
    0x1.921fb544p+0,  0x1.0b4611a6p-34,  0x1.3198a2ep-69,
    0x1.b839a24p-104, 0x1.2049c111p-132, 0x1.33e63ap-166,
};

// The exact sum of the parts, in increasing magnitude, and rounded to a double-double: the largest
// two parts of an exact sum grown by TwoSum lie within 2^-52 of each other's sum, so only the last
// addition's error counts.
template <std::size_t N>
constexpr DoubleDouble Rounded(const std::array<double, N>& parts, std::size_t size) {
  DoubleDouble sum{parts[0], 0};
  for (std::size_t i = 1; i < size; ++i) {
    sum = Add(sum, parts[i]);
  }
  return sum;
}

// Adds b to a nonoverlapping sum of doubles, exactly.
template <std::size_t N>
constexpr void Grow(std::array<double, N>& parts, std::size_t& size, double b) {
  double q = b;
  for (std::size_t i = 0; i < size; ++i) {
    const DoubleDouble s = TwoSum(q, parts[i]);
    parts[i] = s.lo;
    q = s.hi;
  }
  parts[size++] = q;
}

inline constexpr DoubleDouble kHalfPi = [] {
  std::array<double, 6> parts{};
  std::size_t size = 0;
  for (std::size_t i = kHalfPiParts.size(); i-- > 0;) {
    Grow(parts, size, kHalfPiParts[i]);
  }
  return Rounded(parts, size);
}();

// Angles up to this size are reduced exactly: quarter turns up to it number below 2^20.
inline constexpr double kReducedLimit = 0x1p20;

struct QuarterTurns {
  std::int64_t count;  // of quarter turns, nearest to the angle
  DoubleDouble rest;   // the angle less those, |rest| <= pi/4 + 2^-30
};

// x - k pi/2 within 2 u^2 + 2^-116, relative, for |x| <= kReducedLimit. Over that range no double
// lies closer than 2^-60.4 to a multiple of pi/2, and the parts of pi/2 omit less than 2^-197 of
// it. x - k p1 is exact: both are whole multiples of x's ulp (or of 2^-53 below 1), and the
// difference lies below 1. The rest is summed exactly before it is rounded.
constexpr QuarterTurns ReduceQuarterTurns(double x) {
  const double k = NearestWhole(x * 0x1.45f306dc9c883p-1);  // 2/pi
  if (k == 0) {
    return {0, {x, 0}};
  }
  std::array<double, kHalfPiParts.size()> parts{};
  std::size_t size = 0;
  Grow(parts, size, x - k * kHalfPiParts[0]);
  for (std::size_t i = 1; i < kHalfPiParts.size(); ++i) {
    Grow(parts, size, -k * kHalfPiParts[i]);
  }
  return {static_cast<std::int64_t>(k), Rounded(parts, size)};
}

// 1/n! for n up to 29, each within 3 n u^2.
inline constexpr std::array<DoubleDouble, 30> kInverseFactorials = [] {
  std::array<DoubleDouble, 30> f{};
  f[0] = {1, 0};
  for (std::size_t n = 1; n < f.size(); ++n) {
    f[n] = Divide(f[n - 1], static_cast<double>(n));
  }
  return f;
}();

// c[0] + z (c[1] + z (...)), the first kWide coefficients in double-double and the rest in double:
// the narrow terms' share of the result lies below 2^-55, where a double's error no longer counts.
template <std::size_t kWide, std::size_t kNarrow, typename Coefficient>
constexpr DoubleDouble Series(DoubleDouble z, const Coefficient& coefficient) {
  double narrow = coefficient(kWide + kNarrow - 1).hi;
  for (std::size_t i = kWide + kNarrow - 1; i-- > kWide;) {
    narrow = coefficient(i).hi + z.hi * narrow;
  }
  DoubleDouble sum = Add(coefficient(kWide - 1), Multiply(z, narrow));
  for (std::size_t i = kWide - 1; i-- > 0;) {
    sum = Add(coefficient(i), Multiply(z, sum));
  }
  return sum;
}

constexpr DoubleDouble SignedInverseFactorial(std::size_t n) {
  const DoubleDouble f = kInverseFactorials[n];
  return (n / 2) % 2 == 0 ? f : Negated(f);
}

// sin r for |r| < 0.786: r + r z (-1/3! + z/5! - ...), z = r^2, up to the term of r^27; the next
// lies below 2^-112 |r|. The correction lies within 0.11 |r|, so its errors count a tenth.
constexpr DoubleDouble SineNearZero(DoubleDouble r) {
  const DoubleDouble z = Multiply(r, r);
  const DoubleDouble series =
      Series<8, 5>(z, [](std::size_t i) { return SignedInverseFactorial(2 * i + 3); });
  return Add(r, Multiply(r, Multiply(z, series)));
}

// cos r for |r| < 0.786: 1 + z (-1/2! + z/4! - ...), up to the term of r^28; the next lies below
// 2^-117.
constexpr DoubleDouble CosineNearZero(DoubleDouble r) {
  const DoubleDouble z = Multiply(r, r);
  const DoubleDouble series =
      Series<8, 6>(z, [](std::size_t i) { return SignedInverseFactorial(2 * i + 2); });
  return Add(Multiply(z, series), 1.0);
}

// Below this size sin x rounds to x, cos x to 1 and atan x to x: the first omitted term lies under
// half the spacing of doubles there.
inline constexpr double kTiny = 0x1p-27;

// sin x or cos x (phase 1) for kTiny <= |x| <= kReducedLimit.
constexpr DoubleDouble WideSineOf(double x, std::int64_t phase) {
  const QuarterTurns t = ReduceQuarterTurns(x);
  const std::int64_t quadrant = (t.count + phase) & 3;
  const DoubleDouble v = quadrant % 2 == 0 ? SineNearZero(t.rest) : CosineNearZero(t.rest);
  return quadrant < 2 ? v : Negated(v);
}

// 1/(2i + 1) with the sign of -1^i.
constexpr DoubleDouble SignedInverseOdd(std::size_t i) {
  const DoubleDouble v = Divide(DoubleDouble{1, 0}, static_cast<double>(2 * i + 1));
  return i % 2 == 0 ? v : Negated(v);
}

// atan u = u + u z (-1/3 + z/5 - ...), z = u^2, up to the term of u^(2 kTerms + 1): for the steps
// of the table below, at compile time.
template <std::size_t kTerms>
constexpr DoubleDouble ArctangentSeries(DoubleDouble u) {
  const DoubleDouble z = Multiply(u, u);
  DoubleDouble sum = SignedInverseOdd(kTerms);
  for (std::size_t i = kTerms; i-- > 1;) {
    sum = Add(SignedInverseOdd(i), Multiply(z, sum));
  }
  return Add(u, Multiply(u, Multiply(z, sum)));
}

// atan(k/8) for k = 0 to 8, and pi/2 less each: atan(k/8) directly for k <= 3, as pi/4 less
// atan((8 - k)/(8 + k)) above; the series' arguments lie within 3/8, and 40 terms bring the rest
// below 2^-112. Each within 6 u^2.
struct ArctangentSteps {
  std::array<DoubleDouble, 9> up, down;
};
inline constexpr ArctangentSteps kArctangentSteps = [] {
  ArctangentSteps s{};
  const DoubleDouble quarterPi{kHalfPi.hi / 2, kHalfPi.lo / 2};
  for (std::size_t k = 0; k <= 8; ++k) {
    const auto n = static_cast<double>(k);
    s.up[k] = k <= 3 ? ArctangentSeries<40>(DoubleDouble{n / 8, 0})
                     : Add(quarterPi,
                           Negated(ArctangentSeries<40>(Divide(DoubleDouble{8 - n, 0}, 8 + n))));
    s.down[k] = Add(kHalfPi, Negated(s.up[k]));
  }
  return s;
}();

// atan q for kTiny <= q < 2^54: q, or 1/q above 1, is brought to x in [0, 1]; then atan x is
// atan(k/8) + atan u, u = (x - k/8) / (1 + x k/8), |u| <= 1/16, whose series up to u^27 leaves out
// less than 2^-116.
constexpr DoubleDouble WideArctangentOfPositive(double q) {
  const bool above = q > 1;
  const DoubleDouble x = above ? Divide(DoubleDouble{1, 0}, q) : DoubleDouble{q, 0};
  const double k = NearestWhole(8 * x.hi);
  const double c = k / 8;
  // x.hi - c is exact: within a factor 2 of each other, or c is 0.
  const DoubleDouble numerator = TwoSum(x.hi - c, x.lo);
  const DoubleDouble product = TwoProduct(x.hi, c);
  const DoubleDouble denominator = Add(TwoSum(1.0, product.hi), product.lo + x.lo * c);
  const DoubleDouble u = Divide(numerator, denominator);
  const DoubleDouble z = Multiply(u, u);
  const DoubleDouble series =
      Series<6, 7>(z, [](std::size_t i) { return SignedInverseOdd(i + 1); });
  const DoubleDouble atanU = Add(u, Multiply(u, Multiply(z, series)));
  const auto step = static_cast<std::size_t>(k);
  return above ? Add(kArctangentSteps.down[step], Negated(atanU))
               : Add(kArctangentSteps.up[step], atanU);
}

// Beyond this, atan q rounds to pi/2: pi/2 - 1/q lies within 2^-53.9 of pi/2's nearest double,
// which lies 2^-53.8 below pi/2, and doubles there are 2^-52 apart.
inline constexpr double kArctangentFlat = 0x1p54;

// sin x, cos x and atan q before their rounding to double; for the tests, which certify it. Where
// the result is x, 1 or pi/2 rounded (see kTiny and kArctangentFlat), lo is 0.
constexpr DoubleDouble WideSine(double x) {
  return Magnitude(x) < kTiny ? DoubleDouble{x, 0} : WideSineOf(x, 0);
}
constexpr DoubleDouble WideCosine(double x) {
  return Magnitude(x) < kTiny ? DoubleDouble{1, 0} : WideSineOf(x, 1);
}
constexpr DoubleDouble WideArctangent(double q) {
  const double t = Magnitude(q);
  if (t < kTiny) {
    return {q, 0};
  }
  const DoubleDouble v =
      t < kArctangentFlat ? WideArctangentOfPositive(t) : DoubleDouble{kHalfPi.hi, 0};
  return q < 0 ? Negated(v) : v;
}

}  // namespace exact

// The three below are out of line: the frame asks for them rarely, and inlined into its hot paths
// they cost it 2 % more instructions.

// sin x, correctly rounded for |x| <= 2^20, which holds every angle the game forms. Larger angles
// are left to the C library: reducing them exactly would take hundreds more bits of pi. Not a
// number or infinite gives not a number.
[[gnu::noinline]] constexpr double Sine(double x) {
  if (!(exact::Magnitude(x) <= exact::kReducedLimit)) {
    return x - x == 0 ? std::sin(x) : std::numeric_limits<double>::quiet_NaN();
  }
  return exact::WideSine(x).hi;
}

// cos x, as Sine.
[[gnu::noinline]] constexpr double Cosine(double x) {
  if (!(exact::Magnitude(x) <= exact::kReducedLimit)) {
    return x - x == 0 ? std::cos(x) : std::numeric_limits<double>::quiet_NaN();
  }
  return exact::WideCosine(x).hi;
}

// atan q, correctly rounded for every q; +-pi/2 rounded for infinities, not a number for not one.
[[gnu::noinline]] constexpr double Arctangent(double q) {
  return q == q ? exact::WideArctangent(q).hi : q;
}

}  // namespace quarrow
