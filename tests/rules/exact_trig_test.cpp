#include "rules/exact_trig.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "game/values.h"
#include "trig_samples.h"

namespace quarrow {
namespace {

static_assert(std::numeric_limits<long double>::digits >= 64, "the referee needs more precision");

// Whether w rounds to double as the true value does: it lies farther from the midpoint toward lo
// than its error bound (relative to the value, here taken twice over |hi|).
bool Certified(exact::DoubleDouble w) {
  const double toward = std::nextafter(w.hi, w.lo < 0 ? -INFINITY : INFINITY);
  const double halfGap = std::fabs(toward - w.hi) / 2;
  return halfGap - std::fabs(w.lo) > 2 * exact::kWideBound * std::fabs(w.hi);
}

// Whether w lies within its bound of v, a quad-precision value (within 2^-112 of the true one).
bool WithinBound(exact::DoubleDouble w, __float128 v) {
  return fabsq(static_cast<__float128>(w.hi) + w.lo - v) <= exact::kWideBound * fabsq(v);
}

struct Tally {
  std::int64_t uncertified = 0, unbounded = 0, refuted = 0, decided = 0;
};

// The C library's long double result, where its own error (a few of its ulps) cannot move it
// across a midpoint, must round to the same double.
void Referee(Tally& tally, double value, long double wide) {
  const double rounded = static_cast<double>(wide);
  const long double toward = std::nextafter(rounded, wide < rounded ? -INFINITY : INFINITY);
  const long double midpoint = (rounded + toward) / 2;
  if (std::fabs(wide - midpoint) > 0x1p-60L * std::fabs(wide)) {
    ++tally.decided;
    tally.refuted += rounded != value;
  }
}

TEST(ExactTrig, EveryHeadingsSineAndCosineIsCertifiedAndAgreesWithLongDouble) {
  Tally tally;
  for (std::int64_t n = 1; n <= 62832; ++n) {
    const double a = Fixed::FromCount(n).ToDouble();
    tally.uncertified += !Certified(exact::WideSine(a)) + !Certified(exact::WideCosine(a));
    tally.unbounded += !WithinBound(exact::WideSine(a), sinq(a));
    tally.unbounded += !WithinBound(exact::WideCosine(a), cosq(a));
    Referee(tally, Sine(a), sinl(a));
    Referee(tally, Cosine(a), cosl(a));
  }
  EXPECT_EQ(tally.uncertified, 0);
  EXPECT_EQ(tally.unbounded, 0);
  EXPECT_EQ(tally.refuted, 0);
  EXPECT_GT(tally.decided, 2 * 62832 * 97 / 100);
}

// The reduction's hardest cases: the doubles nearest to multiples of pi/2, up to 2^20.
TEST(ExactTrig, AnglesNearMultiplesOfHalfPiKeepTheBound) {
  const __float128 halfPi = acosq(0);
  std::int64_t unbounded = 0;
  for (std::int64_t k = 1; k < 667'000; k += k < 2000 ? 1 : 997) {
    const double x = static_cast<double>(k * halfPi);
    unbounded += !WithinBound(exact::WideSine(x), sinq(x));
    unbounded += !WithinBound(exact::WideCosine(x), cosq(x));
  }
  EXPECT_EQ(unbounded, 0);
}

TEST(ExactTrig, SampledArctangentsAreCertifiedAndAgreeWithLongDouble) {
  Tally tally;
  std::int64_t kernel = 0;
  for (const double q : ArctangentSamples()) {
    const double t = std::fabs(q);
    if (t >= exact::kTiny && t < exact::kArctangentFlat) {
      ++kernel;
      tally.uncertified += !Certified(exact::WideArctangent(q));
      tally.unbounded += !WithinBound(exact::WideArctangent(q), atanq(q));
    }
    if (q == q) {
      Referee(tally, Arctangent(q), atanl(q));
    }
  }
  EXPECT_GT(kernel, 260'000);
  EXPECT_EQ(tally.uncertified, 0);
  EXPECT_EQ(tally.unbounded, 0);
  EXPECT_EQ(tally.refuted, 0);
  EXPECT_GT(tally.decided, 260'000);
}

TEST(ExactTrig, SpecialValues) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(Sine(kInf)) && std::isnan(Cosine(-kInf)) && std::isnan(Sine(NAN)));
  EXPECT_TRUE(std::isnan(Arctangent(NAN)));
  EXPECT_EQ(Arctangent(-kInf), -static_cast<double>(std::atan(1.0L) * 2));
  EXPECT_TRUE(std::signbit(Sine(-0.0)) && std::signbit(Arctangent(-0.0)));
  // Beyond exact reduction, the C library's.
  EXPECT_EQ(Sine(1e7), std::sin(1e7));
}

}  // namespace
}  // namespace quarrow
