#pragma once

// The court's zones and the small geometric rules the simulation consults.

#include <array>
#include <cstdint>

#include "game/game_state.h"
#include "game/platform.h"
#include "game/values.h"
#include "rules/trig.h"

namespace quarrow {

// Zone 4 | zone 1 | zone 2 | zone 3 across x; every boundary, the unrounded middle among them,
// belongs to no zone (0). Only x is examined.
std::int16_t ZoneOf(double x, double y);
std::int16_t ZoneOf(Fixed x, Fixed y);

// The boundaries of the zones in fixed, as the court's width gives them: a pass over the players
// finds them once, as no event served meanwhile changes the width.
struct ZoneLines {
  Fixed endZone, mid, farLine, width;
};
ZoneLines ZoneLinesNow();
std::int16_t ZoneOf(Fixed x, const ZoneLines& lines);

// The x nearest to x that a zone claims, x itself when one does; of two equally near, the lower.
// A ball laid on a boundary or off the court would lie in no zone and nobody would fetch it.
Fixed ClaimedX(Fixed x);

// Whether y lies within the court's height, both ends included. Only y is examined.
Flag InsideCourt(double x, double y);
Flag InsideCourt(Fixed x, Fixed y);

// Whether a ball of one role's side and a player's role belong to the same team.
Flag SameSide(std::int16_t ballRole, std::int16_t playerRole);

// Draws whole-number points until one lies in the home zone of role (1 to 4), serving window events
// before every attempt; x and y hold the accepted point.
void RandomPointInZone(std::int16_t& x, std::int16_t& y, std::int16_t role);

// The x that RandomPointInZone forms from a draw: floor(draw × CourtWidth), the product exact.
double PointSearchX(float draw);

// Those draws for role 1 to 4 on the court as it stands, when a search's x is product(draw). The
// product must never fall as the draw grows, so that the draws form one run.
DrawRange ZoneDraws(std::int16_t role, double (*product)(float draw));

// The same, kept in memo and found again only when the court's width changes: a search then
// decides a try by two comparisons of its draw.
inline const DrawRange& ZoneDrawsNow(ZoneDrawMemo& memo, double (*product)(float draw),
                                     std::int16_t role) {
  if (memo.width != CourtWidth) [[unlikely]] {
    memo.width = CourtWidth;
    for (std::int16_t r = 1; r <= 4; ++r) {
      memo.byRole[r] = ZoneDraws(r, product);
    }
  }
  return role >= 1 && role <= 4 ? memo.byRole[role] : memo.byRole[0];
}

// The x draw of a search's first try that lands in range, calling beforeTry() ahead of each try. A
// rejected try's y is never used, but its draw is part of the sequence, so it is taken unread.
template <typename BeforeTry>
float FirstDrawIn(const DrawRange& range, const BeforeTry& beforeTry) {
  return FirstOfPairThatHolds([&range](float draw) { return range.Holds(draw); }, beforeTry);
}

// The same with nothing to do between tries.
inline float FirstDrawIn(const DrawRange& range) {
  return FirstOfPairThatHolds([&range](float draw) { return range.Holds(draw); });
}

namespace detail {

inline constexpr Fixed kHalfPi = Fixed::FromCount(15708);
inline constexpr Fixed kPi = Fixed::FromCount(31416);

// The heading for the rounded arctangent of dx / dy, dy not 0.
inline Fixed Heading(Fixed atan, bool below) {
  const Fixed a = atan + kHalfPi;
  return below ? a + kPi : a;
}

// A quotient of counts for the quotient of their doubles.
struct CountQuotient {
  static constexpr double kMore = 1e-15;
};

}  // namespace detail

// The heading of travel from one point to another, in radians with four decimals, 0 to 6.2832.
// The differences are formed exactly when both operands are exact (fixed or int16), in double
// otherwise. Inline: a step and a dodge each take one, and the call cost a tenth of it.
inline Fixed DirectionOfDelta(double dx, double dy) {
  if (dy == 0) {
    return dx >= 0 ? Fixed{} : detail::kPi;
  }
  return detail::Heading(RoundedAtan(dx / dy), dy > 0);
}

// DirectionOfDelta(dx.ToDouble(), dy.ToDouble()). The quotient of the counts lies within a few ulps
// of the quotient of those doubles, which moves the arctangent by under 1e-15, so the fast path
// skips both scalings; only the exact arctangent is given the doubles.
inline Fixed DirectionOfDelta(Fixed dx, Fixed dy) {
  if (dy.count == 0) {
    return dx.count >= 0 ? Fixed{} : detail::kPi;
  }
  const double q = static_cast<double>(dx.count) / static_cast<double>(dy.count);
  const Fixed atan = RoundedAtanNear<detail::CountQuotient>(
      q, [dx, dy] { return Arctangent(dx.ToDouble() / dy.ToDouble()); });
  return detail::Heading(atan, dy.count > 0);
}

// DirectionOfDelta(sign * cos a, sign * sin a) with sign 1 or -1: the reflections of a heading.
Fixed DirectionOfUnit(double a, double sign);

inline double Difference(Fixed a, Fixed b) {
  return (a - b).ToDouble();
}
inline double Difference(double a, double b) {
  return a - b;
}
inline double Difference(Number a, Fixed b) {
  return a.exact ? Difference(a.fixed, b) : a.real - b.ToDouble();
}

template <typename To, typename From>
Fixed Direction(To toX, To toY, From fromX, From fromY) {
  return DirectionOfDelta(Difference(toX, fromX), Difference(toY, fromY));
}
inline Fixed Direction(Fixed toX, Fixed toY, Fixed fromX, Fixed fromY) {
  return DirectionOfDelta(toX - fromX, toY - fromY);
}
inline Fixed Direction(std::int16_t toX, std::int16_t toY, Fixed fromX, Fixed fromY) {
  return DirectionOfDelta(ToFixed(toX) - fromX, ToFixed(toY) - fromY);
}

}  // namespace quarrow
