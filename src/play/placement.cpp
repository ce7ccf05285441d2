#include "play/placement.h"

#include <algorithm>
#include <cmath>

#include "game/game_state.h"
#include "play/inputs.h"

namespace quarrow {
namespace {

PlacementCursor cursor;

// Where a pointer over the court can stand: its interior and its far edges.
void Clamp() {
  cursor.x = std::clamp(cursor.x, 0, static_cast<int>(CourtWidth));
  cursor.y = std::clamp(cursor.y, 0, static_cast<int>(CourtHeight));
}

}  // namespace

const PlacementCursor& Cursor() {
  return cursor;
}

bool PicMain_KeyDown(CourtKey key, bool shift) {
  if (key == CourtKey::kLeave) {
    const bool was = cursor.active;
    LeavePlacement();
    return was;
  }
  if (key == CourtKey::kPlace) {
    if (!cursor.active) {
      return false;
    }
    // A drag with the left button to the cursor: the same handler, so the same placement.
    PicMain_MouseMove(kLeftButton, 0, static_cast<float>(cursor.x), static_cast<float>(cursor.y));
    return true;
  }
  if (!cursor.active) {
    cursor = {true, static_cast<int>(std::lround(BallX.ToDouble())),
              static_cast<int>(std::lround(BallY.ToDouble()))};
    Clamp();
    return true;
  }
  const int step = shift ? kCursorBigStep : 1;
  switch (key) {
    case CourtKey::kLeft:
      cursor.x -= step;
      break;
    case CourtKey::kRight:
      cursor.x += step;
      break;
    case CourtKey::kUp:
      cursor.y -= step;
      break;
    default:
      cursor.y += step;
      break;
  }
  Clamp();
  return true;
}

void LeavePlacement() {
  cursor.active = false;
}

void DrawPlacementCursor(Surface& surface) {
  if (!cursor.active) {
    return;
  }
  // A cross with an open middle, so the ball under it stays in sight.
  constexpr float kInner = 3.0f;
  constexpr float kOuter = 8.0f;
  const auto x = static_cast<float>(cursor.x);
  const auto y = static_cast<float>(cursor.y);
  surface.Line({x - kOuter, y}, {x - kInner, y});
  surface.Line({x + kInner, y}, {x + kOuter, y});
  surface.Line({x, y - kOuter}, {x, y - kInner});
  surface.Line({x, y + kInner}, {x, y + kOuter});
}

}  // namespace quarrow
