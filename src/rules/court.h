#pragma once

// The court's zones and the small geometric rules the simulation consults.

#include <cstdint>

#include "game/values.h"

namespace quarrow {

// Zone 4 | zone 1 | zone 2 | zone 3 across x; every boundary, the unrounded middle among them,
// belongs to no zone (0). Only x is examined.
std::int16_t ZoneOf(double x, double y);
std::int16_t ZoneOf(Fixed x, Fixed y);

// Whether y lies within the court's height, both ends included. Only y is examined.
Flag InsideCourt(double x, double y);
Flag InsideCourt(Fixed x, Fixed y);

// Whether a ball of one role's side and a player's role belong to the same team.
Flag SameSide(std::int16_t ballRole, std::int16_t playerRole);

// Draws whole-number points until one lies in the home zone of role, serving window events before
// every attempt. Writes each attempt to x and y.
void RandomPointInZone(std::int16_t& x, std::int16_t& y, std::int16_t role);

// The heading of travel from one point to another, in radians with four decimals, 0 to 6.2832.
// The differences are formed exactly when both operands are exact (fixed or int16), in double
// otherwise.
Fixed DirectionOfDelta(double dx, double dy);

// DirectionOfDelta(sign * cos a, sign * sin a) with sign 1 or -1: the reflections of a heading.
Fixed DirectionOfUnit(double a, double sign);

inline double Difference(Fixed a, Fixed b) {
  return (a - b).ToDouble();
}
inline double Difference(std::int16_t a, Fixed b) {
  return (ToFixed(a) - b).ToDouble();
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

}  // namespace quarrow
