#pragma once

// Placing a dead ball from the keyboard, as a drag does: a cursor on the court moved by the arrow
// keys and a key that places the ball where it stands. Front ends only translate their keys.

#include "render/surface.h"

namespace quarrow {

enum class CourtKey : int { kLeft = 0, kRight = 1, kUp = 2, kDown = 3, kPlace = 4, kLeave = 5 };

// Whole pixels a press moves the cursor; with Shift, kCursorBigStep.
inline constexpr int kCursorBigStep = 10;

struct PlacementCursor {
  bool active = false;
  int x = 0;
  int y = 0;
};

const PlacementCursor& Cursor();

// A key pressed with the court focused. The first arrow brings the cursor up where the ball is;
// kPlace places the ball there through the drag's own handler; kLeave puts the cursor away.
// Returns whether the key did anything (a front end then keeps it from doing anything else).
bool PicMain_KeyDown(CourtKey key, bool shift);
// Focus leaving the court, or a new match, puts the cursor away.
void LeavePlacement();

// Draws the cursor over a replayed court picture; nothing when it is away, so the court's own
// picture stays the same.
void DrawPlacementCursor(Surface& surface);

}  // namespace quarrow
