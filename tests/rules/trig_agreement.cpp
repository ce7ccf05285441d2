#include "rules/trig_agreement.h"

#include <cmath>
#include <random>

#include "rules/court.h"
#include "rules/trig.h"

namespace quarrow::testing {
namespace {

// The heading as the rules spell it, with the correctly rounded arctangent.
Fixed ReferenceDirection(double dx, double dy) {
  const Fixed pi = Fixed::FromCount(31416);
  if (dy == 0) {
    return dx >= 0 ? Fixed{} : pi;
  }
  const Fixed a = ToFixed(Arctangent(dx / dy)) + Fixed::FromCount(15708);
  return dy > 0 ? a + pi : a;
}

struct Input {
  double a, dx, dy, ballSpeed, speed, r1, r2, ball;
  Fixed fx, fy;  // an exact delta
};

// A heading, two reflections, the ball's sub-step, a dodge, a step and a reach margin.
bool Agrees(const Input& in) {
  const double c = Cosine(in.a);
  const double s = Sine(in.a);
  const SinCos t = ApproxSinCos(in.a);
  const double q = in.dx / in.dy;
  const auto sub = [&](double v) { return v * in.ballSpeed * 0.1; };
  const auto dodge = [](double v) { return 5 * v; };
  const auto step = [&](double r) {
    return [&in, r](double v) { return v * in.speed / 2 * r + v * in.speed / 2; };
  };
  const auto touches = [&](double m) { return 96 - m < in.ball; };
  return std::fabs(t.cos - c) <= kSinCosBound && std::fabs(t.sin - s) <= kSinCosBound &&
         !(std::fabs(ApproxAtan(q) - Arctangent(q)) > kAtanBound) &&
         DirectionOfDelta(in.dx, in.dy) == ReferenceDirection(in.dx, in.dy) &&
         DirectionOfDelta(in.fx, in.fy) == ReferenceDirection(in.fx.ToDouble(), in.fy.ToDouble()) &&
         DirectionOfUnit(in.a, -1) == ReferenceDirection(-c, -s) &&
         DirectionOfUnit(in.a, 1) == ReferenceDirection(c, s) &&
         RoundedCos(t, in.ballSpeed * 0.1, sub) == ToFixed(sub(c)) &&
         RoundedSin(t, in.ballSpeed * 0.1, sub) == ToFixed(sub(s)) &&
         RoundedCos(t, 5, dodge) == ToFixed(dodge(c)) &&
         RoundedSin(t, 5, dodge) == ToFixed(dodge(s)) &&
         RoundedCos(t, in.speed, step(in.r1)) == ToFixed(step(in.r1)(c)) &&
         RoundedSin(t, in.speed, step(in.r2)) == ToFixed(step(in.r2)(s)) &&
         HoldsNear(std::fabs(2 * t.cos), 2 * kSinCosBound, touches,
                   [c] { return std::fabs(2 * c); }) == touches(std::fabs(2 * c));
}

}  // namespace

std::int64_t Disagreements(std::uint32_t seed, std::int64_t count, bool besideBoundary) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> ulps(-4, 4), exponent(-40, 40);
  const auto u = [&] { return unit(gen); };
  const auto draw = [&] { return std::floor(u() * 0x1p24) * 0x1p-24; };
  const auto fourDecimals = [&](double low, double high) {
    return std::round((low + u() * (high - low)) * 10000) / 10000;
  };
  const auto real = [&] { return std::ldexp(u() - 0.5, exponent(gen)); };
  // A boundary k + 1/2 below limit, and a value a few ulps beside v.
  const auto boundary = [&](double limit) { return std::floor(u() * limit) + 0.5; };
  const auto beside = [&](double v) { return v * (1 + ulps(gen) * 0x1p-52); };
  std::int64_t bad = 0;
  for (std::int64_t k = 0; k < count; ++k) {
    // Every other input as the game forms them: angles and deltas of four decimals.
    const bool game = k % 2 == 0;
    Input in{game ? fourDecimals(0, 6.2832) : u() * 140 - 70,
             game ? fourDecimals(-3000, 3000) : real(),
             game ? fourDecimals(-3000, 3000) : real(),
             u() * 5,
             2 + u() * 2,
             draw(),
             draw(),
             96 - 2 * u(),
             {},
             {}};
    in.fx = ToFixed(in.dx);
    in.fy = ToFixed(in.dy);
    if (besideBoundary) {
      // atan(cot a) is pi/2 - a for a in (0, pi); the game's own angles have four decimals.
      const double atan = (boundary(31415) - 15708) / 10000;
      in.dx = beside(std::tan(atan));
      in.dy = 1;
      // Counts up to a large court's, whose quotient lies within about 1 / fy of the boundary.
      in.fy = Fixed::FromCount(1 + static_cast<std::int64_t>(u() * 65'000'000));
      in.fx = Fixed::FromCount(std::llround(std::tan(atan) * static_cast<double>(in.fy.count)));
      in.a = game ? in.a : beside(1.5707963267948966 - atan);
      const double c = std::fabs(Cosine(in.a));
      in.ballSpeed = beside(boundary(c * 5000) / (c * 1000));
      // A draw that takes v * speed / 2 * (1 + r) beside a boundary, where one lies within reach.
      const auto stepDraw = [&](double v) {
        const double half = std::fabs(v) * in.speed / 2 * 10000;
        const double r = beside((std::ceil(half) + boundary(half)) / half - 1);
        return r >= 0 && r < 1 ? r : draw();
      };
      in.r1 = stepDraw(c);
      in.r2 = stepDraw(Sine(in.a));
      in.ball = beside(96 - 2 * c);
    }
    bad += !Agrees(in);
  }
  return bad;
}

}  // namespace quarrow::testing
