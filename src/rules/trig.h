#pragma once

// Sine, cosine and arctangent for results that end in a four-decimal rounding or in a comparison.
// The C library's functions cost more than the rest of a frame; a short polynomial with a proven
// error bound settles every result that the bound cannot change, and the C library is asked only
// for the rest, a value within the bound of a rounding boundary (under one in 500).

#include <cmath>
#include <cstdint>

#include "game/values.h"

namespace quarrow {

// How far the approximations below may lie from the C library's results. Each is the tail of a
// Taylor series that alternates with falling terms, so it lies below its first term, plus less than
// 1e-14 for the reduction, the evaluation and the C library's own error (under one ulp), with room
// for the roundings of the margins built on it.
//   sine, degree 9, and cosine, degree 8, on |r| <= pi/4: (pi/4)^11/11! < 1.8e-9 and
//   (pi/4)^10/10! < 2.462e-8; a = k pi/2 + r is reduced with k pi/2 rounded once, for |a| <= 64.
//   arctangent, degree 9, on |x| <= tan(pi/12) = 2 - sqrt 3: (2 - sqrt 3)^11/11 < 4.648e-8;
//   atan |q| = j pi/6 + atan x, x formed from values below 7 with a few roundings (1e-15).
// Sine and cosine pass an error in r on unenlarged, and so does the arctangent one in x.
inline constexpr double kSinCosBound = 2.5e-8;
inline constexpr double kAtanBound = 4.7e-8;

// sin a and cos a, each within kSinCosBound of the C library's. Beyond the reduced range (and for
// not-a-number) they are the C library's.
struct SinCos {
  double angle;
  double sin, cos;
};

inline SinCos ApproxSinCos(double a) {
  constexpr double kReducedRange = 64;
  constexpr double kHalfPi = 1.5707963267948966;
  constexpr double kTwoOverPi = 0.6366197723675814;
  constexpr double kShift = 0x1.8p52;  // adding and removing it rounds to whole, ties to even
  if (!(std::fabs(a) <= kReducedRange)) {
    return SinCos{a, std::sin(a), std::cos(a)};
  }
  const double k = (a * kTwoOverPi + kShift) - kShift;
  const double r = a - k * kHalfPi;
  const double r2 = r * r;
  const double s =
      r + r * r2 * (-1.0 / 6 + r2 * (1.0 / 120 + r2 * (-1.0 / 5040 + r2 * (1.0 / 362880))));
  const double c = 1 + r2 * (-1.0 / 2 + r2 * (1.0 / 24 + r2 * (-1.0 / 720 + r2 * (1.0 / 40320))));
  switch (static_cast<int>(k) & 3) {
    case 0:
      return SinCos{a, s, c};
    case 1:
      return SinCos{a, c, -s};
    case 2:
      return SinCos{a, -s, -c};
    default:
      return SinCos{a, -c, s};
  }
}

// Within kAtanBound of std::atan(q), for every q.
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

// ToFixed(form(v)) for the v that exact() gives, where approx lies within bound of v, both at most
// 2 in magnitude, and form(v) is v times factors of at most gain in magnitude, formed with at most
// four roundings and without cancellation. The roundings move form(v) * 10000 by a relative 6 ulps
// at most, and less than gain * 10000 * 2^-48 between approx and v together; so the two scaled
// values lie within margin of each other, and farther than that from a rounding boundary they
// round alike and exact() is not called. The last term covers the margin's own roundings.
template <typename Form, typename Exact>
Fixed RoundedNear(double approx, double bound, double gain, const Form& form, const Exact& exact) {
  const double scaled = form(approx) * 10000.0;
  if (std::fabs(scaled) < 0x1p51) {
    constexpr double kShift = 0x1.8p52;  // rounds to whole, ties to even, below 2^51
    const double whole = (scaled + kShift) - kShift;
    const double margin = gain * ((bound + 0x1p-48) * 10000.0) + 0x1p-40;
    if (std::fabs(scaled - whole) < 0.5 - margin) {
      return Fixed::FromCount(static_cast<std::int64_t>(whole));
    }
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

// ToFixed(form(std::cos(a))) and ToFixed(form(std::sin(a))), form as for RoundedNear.
template <typename Form>
Fixed RoundedCos(const SinCos& t, double gain, const Form& form) {
  return RoundedNear(t.cos, kSinCosBound, gain, form, [&] { return std::cos(t.angle); });
}
template <typename Form>
Fixed RoundedSin(const SinCos& t, double gain, const Form& form) {
  return RoundedNear(t.sin, kSinCosBound, gain, form, [&] { return std::sin(t.angle); });
}

// ToFixed(std::atan(q)).
inline Fixed RoundedAtan(double q) {
  return RoundedNear(
      ApproxAtan(q), kAtanBound, 1, [](double v) { return v; }, [q] { return std::atan(q); });
}

}  // namespace quarrow
