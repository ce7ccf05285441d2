#pragma once

#include <cstdint>

namespace quarrow {

// Starts a new match: reseeds, measures the court, places the ten players and gives the ball to
// team 2's back player. Leaves the ball's position, angle, speed and last thrower, and the pace
// switches, as the previous match left them.
void InitGame();

// Hands the ball to one player; changes nothing else.
void GiveBall(std::int16_t player);

}  // namespace quarrow
