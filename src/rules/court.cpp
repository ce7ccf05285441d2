#include "rules/court.h"

#include <cmath>

#include "game/game_state.h"
#include "game/platform.h"
#include "rules/trig.h"

namespace quarrow {
namespace {

constexpr Fixed kHalfPi = Fixed::FromCount(15708);
constexpr Fixed kPi = Fixed::FromCount(31416);

}  // namespace

namespace {

// Both kinds share one body; for fixed values every bound is itself exact, so no double is formed.
template <typename T>
std::int16_t ZoneAt(T x, T endZone, T mid, T farLine, T width) {
  const T zero{};
  if (endZone < x && x < mid) {
    return 1;
  }
  if (mid < x && x < farLine) {
    return 2;
  }
  if (zero < x && x < endZone) {
    return 4;
  }
  if (farLine < x && x < width) {
    return 3;
  }
  return 0;
}

}  // namespace

std::int16_t ZoneOf(double x, double /*y*/) {
  return ZoneAt<double>(x, kEndZoneDepth, Mid(), FarEndLine(), CourtWidth);
}

std::int16_t ZoneOf(Fixed x, Fixed /*y*/) {
  return ZoneAt(x, Fixed::FromInt(kEndZoneDepth), ExactMid(), Fixed::FromInt(FarEndLine()),
                Fixed::FromInt(CourtWidth));
}

Flag InsideCourt(double /*x*/, double y) {
  return ToFlag(!(y < 0 || y > CourtHeight));
}

Flag InsideCourt(Fixed /*x*/, Fixed y) {
  return ToFlag(!(y < Fixed{} || y > Fixed::FromInt(CourtHeight)));
}

Flag SameSide(std::int16_t ballRole, std::int16_t playerRole) {
  const auto pair = [&](int a, int b) {
    return (ballRole == a && playerRole == b) || (ballRole == b && playerRole == a);
  };
  return ToFlag(ballRole == playerRole || pair(1, 3) || pair(2, 4));
}

void RandomPointInZone(std::int16_t& x, std::int16_t& y, std::int16_t role) {
  do {
    ThePlatform().PumpEvents();
    // A draw has 24 bits and a court side at most 15, so the product is exact before the floor.
    x = static_cast<std::int16_t>(std::floor(static_cast<double>(Draw()) * CourtWidth));
    y = static_cast<std::int16_t>(std::floor(static_cast<double>(Draw()) * CourtHeight));
  } while (ZoneOf(x, y) != role);
}

namespace {

// The heading for the rounded arctangent of dx / dy, dy not 0.
Fixed Heading(Fixed atan, bool below) {
  const Fixed a = atan + kHalfPi;
  return below ? a + kPi : a;
}

}  // namespace

Fixed DirectionOfDelta(double dx, double dy) {
  if (dy == 0) {
    return dx >= 0 ? Fixed{} : kPi;
  }
  return Heading(RoundedAtan(dx / dy), dy > 0);
}

Fixed DirectionOfUnit(double a, double sign) {
  const SinCos t = ApproxSinCos(a);
  // Beyond the bound the sine's sign is sure and not 0, and negating both sides leaves the quotient
  // as it is. Near the unit circle atan(c / s) moves by at most |(dc, ds)| / |(c, s)|, below
  // 1.5 kSinCosBound between the approximate point and the C library's; both quotients' roundings
  // add 1e-16.
  if (std::fabs(t.sin) > kSinCosBound) {
    const Fixed atan = RoundedNear(
        ApproxAtan(t.cos / t.sin), kAtanBound + 2 * kSinCosBound, 1, [](double v) { return v; },
        [a] { return std::atan(std::cos(a) / std::sin(a)); });
    return Heading(atan, sign * t.sin > 0);
  }
  return DirectionOfDelta(sign * std::cos(a), sign * std::sin(a));
}

}  // namespace quarrow
