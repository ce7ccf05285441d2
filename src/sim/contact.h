#pragma once

#include <cstdint>

namespace quarrow {

// Resolves contact between the ball and player i: a pick-up of a dead ball, or a hit or stop by a
// live ball of another role.
void CheckBallContact(std::int16_t i);

// Puts each team's back player into court when nobody else of his team is left there, else behind
// the opponents.
void UpdateBackPlayers();

}  // namespace quarrow
