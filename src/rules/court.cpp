#include "rules/court.h"

#include <cmath>

#include "game/game_state.h"
#include "game/platform.h"

namespace quarrow {
namespace {

constexpr int kEndZone = 40;
constexpr Fixed kHalfPi = Fixed::FromCount(15708);
constexpr Fixed kPi = Fixed::FromCount(31416);

}  // namespace

std::int16_t ZoneOf(double x, double /*y*/) {
  const double mid = Mid();
  const int farLine = static_cast<std::int16_t>(CourtWidth - kEndZone);
  if (kEndZone < x && x < mid) {
    return 1;
  }
  if (mid < x && x < farLine) {
    return 2;
  }
  if (0 < x && x < kEndZone) {
    return 4;
  }
  if (farLine < x && x < CourtWidth) {
    return 3;
  }
  return 0;
}

Flag InsideCourt(double /*x*/, double y) {
  return ToFlag(!(y < 0 || y > CourtHeight));
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

Fixed DirectionOfDelta(double dx, double dy) {
  if (dy == 0) {
    return dx >= 0 ? Fixed{} : kPi;
  }
  const Fixed a = ToFixed(std::atan(dx / dy)) + kHalfPi;
  return dy > 0 ? a + kPi : a;
}

}  // namespace quarrow
