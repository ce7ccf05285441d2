#include "rules/trig_agreement.h"

#include <cmath>
#include <random>

#include "rules/court.h"
#include "rules/trig.h"

namespace quarrow::testing {

Fixed ReferenceDirection(double dx, double dy) {
  constexpr Fixed kPi = Fixed::FromCount(31416);
  if (dy == 0) {
    return dx >= 0 ? Fixed{} : kPi;
  }
  const Fixed a = ToFixed(std::atan(dx / dy)) + Fixed::FromCount(15708);
  return dy > 0 ? a + kPi : a;
}

namespace {

struct Input {
  double a, dx, dy, ballSpeed, speed, r1, r2;
};

// One input through every form: the ball's sub-step, a dodge, a step, a heading, a reflection.
bool Agrees(const Input& in) {
  const double c = std::cos(in.a);
  const double s = std::sin(in.a);
  const SinCos t = ApproxSinCos(in.a);
  const double q = in.dx / in.dy;
  if (std::fabs(t.cos - c) > kSinCosBound || std::fabs(t.sin - s) > kSinCosBound ||
      std::fabs(ApproxAtan(q) - std::atan(q)) > kAtanBound) {
    return false;
  }
  const auto sub = [&](double v) { return v * in.ballSpeed * 0.1; };
  const auto dodge = [](double v) { return 5 * v; };
  const auto step = [&](double r) {
    return [&in, r](double v) { return v * in.speed / 2 * r + v * in.speed / 2; };
  };
  return RoundedCos(t, in.ballSpeed * 0.1, sub) == ToFixed(sub(c)) &&
         RoundedSin(t, in.ballSpeed * 0.1, sub) == ToFixed(sub(s)) &&
         RoundedCos(t, 5, dodge) == ToFixed(dodge(c)) &&
         RoundedSin(t, 5, dodge) == ToFixed(dodge(s)) &&
         RoundedCos(t, in.speed, step(in.r1)) == ToFixed(step(in.r1)(c)) &&
         RoundedSin(t, in.speed, step(in.r2)) == ToFixed(step(in.r2)(s)) &&
         DirectionOfDelta(in.dx, in.dy) == ReferenceDirection(in.dx, in.dy) &&
         DirectionOfUnit(in.a, -1) == ReferenceDirection(-c, -s) &&
         DirectionOfUnit(in.a, 1) == ReferenceDirection(c, s);
}

}  // namespace

std::int64_t Disagreements(std::uint32_t seed, std::int64_t count, bool besideBoundary) {
  std::mt19937_64 gen(seed);
  std::uniform_int_distribution<std::int64_t> gameAngle(0, 62832), position(-30000000, 30000000);
  std::uniform_int_distribution<int> ulps(-4, 4), exponent(-40, 40);
  std::uniform_real_distribution<double> anyAngle(-70, 70), unit(0, 1);
  const auto draw = [&] { return std::floor(unit(gen) * 0x1p24) * 0x1p-24; };
  const auto sign = [&] { return unit(gen) < 0.5 ? -1.0 : 1.0; };
  // A boundary k + 1/2 below limit ten-thousandths, and a value a few ulps beside v.
  const auto boundary = [&](double limit) { return std::floor(unit(gen) * limit) + 0.5; };
  const auto beside = [&](double v) { return v * (1 + ulps(gen) * 0x1p-52); };
  std::int64_t bad = 0;
  for (std::int64_t k = 0; k < count; ++k) {
    // Every other input as the game forms them: angles and deltas of four decimals.
    Input in{static_cast<double>(gameAngle(gen)) / 10000.0,
             static_cast<double>(position(gen)) / 10000.0,
             static_cast<double>(position(gen)) / 10000.0,
             unit(gen) * 5,
             2 + unit(gen) * 2,
             draw(),
             draw()};
    if (k % 2 != 0) {
      in.a = anyAngle(gen);
      in.dx = sign() * std::ldexp(unit(gen), exponent(gen));
      in.dy = sign() * std::ldexp(unit(gen), exponent(gen));
    }
    if (besideBoundary) {
      // A heading whose arctangent lies beside a boundary, and a reflection whose does: atan(cot a)
      // is pi/2 - a for a in (0, pi).
      const double atan = (boundary(31415) - 15708) / 10000;
      in.dx = beside(std::tan(atan));
      in.dy = 1;
      in.a = beside(1.5707963267948966 - atan);
      const double c = std::fabs(std::cos(in.a));
      in.ballSpeed = beside(boundary(c * 5000) / (c * 1000));
      // A draw that takes v * speed / 2 * (1 + r) beside a boundary, where one lies within reach.
      const auto stepDraw = [&](double v) {
        const double half = std::fabs(v) * in.speed / 2 * 10000;
        const double r = beside((std::ceil(half) + boundary(half)) / half - 1);
        return r >= 0 && r < 1 ? r : draw();
      };
      in.r1 = stepDraw(c);
      in.r2 = stepDraw(std::sin(in.a));
    }
    bad += !Agrees(in);
  }
  return bad;
}

}  // namespace quarrow::testing
