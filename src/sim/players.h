#pragma once

#include <cstdint>

#include "game/values.h"

namespace quarrow {

// One pass over players 1 to 10: each decides (aim and throw, roam, dodge or fetch), returns to his
// home zone if he stands outside it, takes at most one step, and has the ball's contact applied.
void MovePlayers();

// Picks the point a holder aims at: the nearest opponent in court closer than a third of the court,
// else the centre of all of them. Leaves the aim point as it was when there is nobody to aim at.
void ChooseTarget(std::int16_t thrower, Number& aimX, Number& aimY);

// The x a roaming player forms from a draw: draw × CourtWidth in single precision.
double RoamX(float draw);

// A court player standing more than 2 beyond the middle, on the other team's side.
Flag PastCentreLine(std::int16_t j);

}  // namespace quarrow
