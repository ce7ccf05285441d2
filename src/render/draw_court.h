#pragma once

#include "render/picture.h"

namespace quarrow {

inline constexpr Rgb kEndZoneGreen{0, 150, 0};
inline constexpr Rgb kTeam1Blue{0, 0, 255};
inline constexpr Rgb kTeam2Red{255, 0, 0};
inline constexpr Rgb kBackPlayerWhite{255, 255, 255};
// Every colour a picture holds besides the surface's own two.
inline constexpr Rgb kCourtColours[] = {kEndZoneGreen, kTeam1Blue, kTeam2Red, kBackPlayerWhite};

// Records one complete picture of the match: markings, ball, then players 1 to 10, each over the
// earlier ones. Reads the game state and changes none of it. A kept picture takes no virtual call
// per item, and is replayed on a real surface only when a screen shows it.
void DrawCourt(Picture& picMain);

}  // namespace quarrow
