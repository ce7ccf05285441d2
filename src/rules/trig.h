#pragma once

// Sine, cosine and arctangent for results that end in a four-decimal rounding or in a comparison.
// The correctly rounded functions cost more than the rest of a frame; a table or a short polynomial
// with a proven error bound settles every result that the bound cannot change, and the correctly
// rounded values are asked for only for the rest, within the bound of a rounding boundary (under
// one in 500).

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "game/values.h"
#include "rules/exact_trig.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace quarrow {

// How far the approximations below may lie from the correctly rounded results (exact_trig.h).
//   sine and cosine of a four-decimal angle n / 10000, 0 <= n <= 62832: sums of two products of
//   correctly rounded values (each within 2^-54) at angles within 2^-51 of 256 h / 10000 and
//   l / 10000, n = 256 h + l; with the products' roundings and the angle's own 2^-51 under 2e-15.
//   arctangent, degree 9, on |x| <= tan(pi/12) = 2 - sqrt 3: (2 - sqrt 3)^11/11 < 4.648e-8, as the
//   tail of a Taylor series that alternates with falling terms lies below its first term;
//   atan |q| = j pi/6 + atan x, x formed from values below 7 with a few roundings (1e-15), and the
//   correctly rounded value's own error under half an ulp. The arctangent passes an error in x on
//   unenlarged.
inline constexpr double kSinCosBound = 4e-15;
inline constexpr double kAtanBound = 4.7e-8;

// sin a and cos a, each within kSinCosBound of the correctly rounded values, and those on demand.
struct SinCos {
  static constexpr std::int64_t kExact = -1;
  double sin, cos;
  // The angle's count of ten-thousandths when sin and cos are approximate, else kExact: the angle
  // as a double is formed only when a result needs the correctly rounded value.
  std::int64_t count;

  double ExactSin() const { return count == kExact ? sin : Sine(Angle()); }
  double ExactCos() const { return count == kExact ? cos : Cosine(Angle()); }
  double Angle() const { return Fixed::FromCount(count).ToDouble(); }
};

namespace detail {

inline constexpr std::int64_t kTurnCount = 62832;  // a heading's largest count, 2 pi rounded
inline constexpr int kFineBits = 8;

// The sine and cosine at the coarse steps 256 h / 10000 and the fine ones l / 10000, correctly
// rounded; sines and cosines apart, so that an index addresses each without a multiplication.
struct SinCosTables {
  static constexpr std::size_t kCoarse = (kTurnCount >> kFineBits) + 1;
  static constexpr std::size_t kFine = std::size_t{1} << kFineBits;
  std::array<double, kCoarse> coarseSin, coarseCos;
  std::array<double, kFine> fineSin, fineCos;
};

// Computed by the compiler (trig.cpp): nothing to build at load, and a table read tests no guard.
extern const SinCosTables kSinCosTables;

}  // namespace detail

// Every heading is a four-decimal angle: two table reads and the angle-sum formulas cost far less
// than a polynomial. Other angles get the correctly rounded values.
inline SinCos ApproxSinCos(Fixed angle) {
  const std::int64_t n = angle.count;
  if (static_cast<std::uint64_t>(n) > static_cast<std::uint64_t>(detail::kTurnCount)) {
    const double a = angle.ToDouble();
    return SinCos{Sine(a), Cosine(a), SinCos::kExact};
  }
  const detail::SinCosTables& t = detail::kSinCosTables;
  const auto h = static_cast<std::size_t>(n >> detail::kFineBits);
  const auto l = static_cast<std::size_t>(n) & (t.kFine - 1);
  return SinCos{t.coarseSin[h] * t.fineCos[l] + t.coarseCos[h] * t.fineSin[l],
                t.coarseCos[h] * t.fineCos[l] - t.coarseSin[h] * t.fineSin[l], n};
}

// The same for an angle kept as a double: the table when it is a four-decimal one.
inline SinCos ApproxSinCos(double a) {
  const Fixed angle = ToFixed(a);
  if (angle.ToDouble() == a) {
    return ApproxSinCos(angle);
  }
  return SinCos{Sine(a), Cosine(a), SinCos::kExact};
}

// Within kAtanBound of Arctangent(q), for every q.
inline double ApproxAtan(double q) {
  constexpr double kSqrt3 = 1.7320508075688772;
  constexpr double kTan15 = 0.2679491924311227;  // 2 - sqrt 3
  constexpr double kTan75 = 3.7320508075688772;  // 2 + sqrt 3
  const double t = std::fabs(q);
  double x = t;
  double base = 0;
  if (t > kTan75) {
    x = -1 / t;
    base = 1.5707963267948966;  // pi/2
  } else if (t > 1) {
    x = (t - kSqrt3) / (1 + t * kSqrt3);
    base = 1.0471975511965979;  // pi/3
  } else if (t > kTan15) {
    x = (t * kSqrt3 - 1) / (t + kSqrt3);
    base = 0.5235987755982989;  // pi/6
  }
  const double x2 = x * x;
  const double v =
      base + (x + x * x2 * (-1.0 / 3 + x2 * (1.0 / 5 + x2 * (-1.0 / 7 + x2 * (1.0 / 9)))));
  return q < 0 ? -v : v;
}

// ToFixed(form(v)) for the v that exact() gives, where approx lies within kBound of v, both at most
// 2 in magnitude, and form(v) is v times factors of at most gain <= kCeiling in magnitude, formed
// with at most four roundings and without cancellation. The roundings move form(v) * 10000 by a
// relative 6 ulps at most, and less than gain * 10000 * 2^-48 between approx and v together; so the
// two scaled values lie within kMargin of each other, and farther than that from a rounding
// boundary they round alike and exact() is not called. The margin is taken for the ceiling, so that
// it is a constant, and the ceiling keeps the scaled value below 2^51, where the shift rounds; a
// value that is not a number fails the comparison. The last term covers the margin's own roundings.
// Tolerance gives kBound and kCeiling: a type, as not every compiler of the core takes a double as
// a template argument.
template <typename Tolerance, typename Form, typename Exact>
Fixed RoundedNear(double approx, double gain, const Form& form, const Exact& exact) {
  constexpr double kCeiling = Tolerance::kCeiling;
  constexpr double kMargin = kCeiling * ((Tolerance::kBound + 0x1p-48) * 10000.0) + 0x1p-40;
  static_assert(kMargin < 0.01 && 2 * kCeiling * 10000.0 < 0x1p50);
  if (gain <= kCeiling) {
    const double scaled = form(approx) * 10000.0;
#if defined(__x86_64__)
    // One conversion rounds to the nearest, ties to even, in the default rounding mode that the
    // shifts elsewhere rely on too; out of range or not a number, it fails the comparison.
    const std::int64_t whole = _mm_cvtsd_si64(_mm_set_sd(scaled));
    if (std::fabs(scaled - static_cast<double>(whole)) < 0.5 - kMargin) {
      return Fixed::FromCount(whole);
    }
#else
    const double whole = RoundHalfEvenBelow2p51(scaled);
    if (std::fabs(scaled - whole) < 0.5 - kMargin) {
      return Fixed::FromCount(WholeBelow2p51(scaled));
    }
#endif
  }
  return ToFixed(form(exact()));
}

// holds(v) for the v that exact() gives, where approx lies within bound of v and holds turns from
// false to true as v grows.
template <typename Holds, typename Exact>
bool HoldsNear(double approx, double bound, const Holds& holds, const Exact& exact) {
  const bool wide = holds(approx + bound);
  return wide == holds(approx - bound) ? wide : holds(exact());
}

// The largest gain of a sine or cosine form served without the exact values: far above any speed in
// play, and still with a margin of a few millionths. No gain in play comes near it (speeds stay at
// 5 and below, as the state's rules check); the test of it costs a comparison a step and keeps a
// larger one exact all the same.
inline constexpr double kSinCosCeiling = 0x1p16;

struct SinCosTolerance {
  static constexpr double kBound = kSinCosBound;
  static constexpr double kCeiling = kSinCosCeiling;
};

// ToFixed(form(Cosine(a))) and ToFixed(form(Sine(a))), form as for RoundedNear.
template <typename Form>
Fixed RoundedCos(const SinCos& t, double gain, const Form& form) {
  return RoundedNear<SinCosTolerance>(t.cos, gain, form, [&] { return t.ExactCos(); });
}
template <typename Form>
Fixed RoundedSin(const SinCos& t, double gain, const Form& form) {
  return RoundedNear<SinCosTolerance>(t.sin, gain, form, [&] { return t.ExactSin(); });
}

// How much farther than atan(q) the exact arctangent asked for may lie: its quotient formed
// otherwise (kMore).
struct ExactQuotient {
  static constexpr double kMore = 0;
};

template <typename Slack>
struct AtanTolerance {
  static constexpr double kBound = kAtanBound + Slack::kMore;
  static constexpr double kCeiling = 1.0;
};

// ToFixed(exact()), where exact() is an arctangent that atan(q) lies within Slack::kMore of: q may
// be formed more cheaply, or from approximate values, than the argument exact() is given.
template <typename Slack, typename Exact>
Fixed RoundedAtanNear(double q, const Exact& exact) {
  return RoundedNear<AtanTolerance<Slack>>(
      ApproxAtan(q), 1, [](double v) { return v; }, exact);
}

// ToFixed(Arctangent(q)).
inline Fixed RoundedAtan(double q) {
  return RoundedAtanNear<ExactQuotient>(q, [q] { return Arctangent(q); });
}

}  // namespace quarrow
