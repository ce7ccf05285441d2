#pragma once

#include <cstdint>

namespace quarrow {

// The court sizes the rules can serve: zones 1 and 2 need a whole-number x each (83), and the
// aiming sums of five players stay within int16 (6553).
inline constexpr int kMinCourtWidth = 83;
inline constexpr int kMinCourtHeight = 1;
inline constexpr int kMaxCourtSide = 6553;

// Starts a new match: reseeds, measures the court, places the ten players and gives the ball to
// team 2's back player. Leaves the ball's position, angle, speed and last thrower, and the pace
// switches, as the previous match left them.
void InitGame();

// Hands the ball to one player; changes nothing else.
void GiveBall(std::int16_t player);

}  // namespace quarrow
