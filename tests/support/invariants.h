#pragma once

// The rules every game state keeps between frames, for the soak runs and the event storm.

#include <array>
#include <cstdint>
#include <string>

#include "game/game_state.h"

namespace quarrow::testing {

// What one check may carry over to the next within a match.
struct Memory {
  std::array<double, kPlayerCount + 1> speed{};
  std::int16_t lives[3] = {};
  std::int16_t holder = 0;
  std::int16_t ballTeam = 0;
};

// How the state being checked follows the remembered one.
enum class Since {
  MatchStart,  // a new match: nothing carries over
  LastFrame,   // exactly one whole frame later
  // Later in the same match, by any number of frames, the last perhaps half done, and with a ball
  // the mouse may have put anywhere.
  LastCheck,
};

Memory Remember();

// The first broken rule, or empty.
std::string Violation(const Memory& before, Since since);

}  // namespace quarrow::testing
