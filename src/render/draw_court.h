#pragma once

#include "render/picture.h"
#include "render/surface.h"

namespace quarrow {

inline constexpr Rgb kEndZoneGreen{0, 150, 0};
inline constexpr Rgb kTeam1Blue{0, 0, 255};
inline constexpr Rgb kTeam2Red{255, 0, 0};
inline constexpr Rgb kBackPlayerWhite{255, 255, 255};

// Paints one complete picture of the match: markings, ball, then players 1 to 10, each over the
// earlier ones. Reads the game state and changes none of it.
void DrawCourt(Surface& picMain);
// The same onto a kept picture, without a virtual call per item: the window draws every frame at
// the slower paces.
void DrawCourt(Picture& picMain);

}  // namespace quarrow
