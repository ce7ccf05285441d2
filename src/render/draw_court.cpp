#include "render/draw_court.h"

#include <array>
#include <cstdint>

#include "game/game_state.h"

namespace quarrow {
namespace {

constexpr float kCentreCircleRadius = 10.0f;
constexpr float kBallRadius = 4.0f;
constexpr std::int64_t kBoxOffset = 2;
constexpr std::int64_t kBoxSide = 5;

// A clear, four markings, the ball and the players: the picture keeps them all.
static_assert(Picture::kCapacity >= 6 + kPlayerCount);

// Positions have four decimals, so the double is within half a unit of the last place of the count
// and a single rounding to float gives the nearest float to the exact value.
float ToFloat(Fixed v) {
  return static_cast<float>(v.ToDouble());
}

PointF At(Fixed x, Fixed y) {
  return {ToFloat(x), ToFloat(y)};
}

Rgb PlayerColour(int index) {
  if (index == Teams[1].BackPlayer || index == Teams[2].BackPlayer) {
    return kBackPlayerWhite;
  }
  constexpr std::array<Rgb, kTeamCount + 1> kTeamColour = {Rgb{}, kTeam1Blue, kTeam2Red};
  return kTeamColour[TeamOf(Players[index].Role)];
}

}  // namespace

void DrawCourt(Picture& picMain) {
  const float width = static_cast<float>(CourtWidth);
  const float height = static_cast<float>(CourtHeight);
  // Halves as real numbers: an odd size puts the centre on a half pixel.
  const float midX = static_cast<float>(CourtWidth / 2.0);
  const float midY = static_cast<float>(CourtHeight / 2.0);
  const std::int16_t rightZone = FarEndLine();

  picMain.Clear();
  picMain.Line({midX, 0.0f}, {midX, height});
  picMain.Circle({midX, midY}, kCentreCircleRadius);
  picMain.Rectangle({0.0f, 0.0f}, {static_cast<float>(kEndZoneDepth), height}, kEndZoneGreen);
  picMain.Rectangle({static_cast<float>(rightZone), 0.0f}, {width, height}, kEndZoneGreen);
  picMain.Circle(At(BallX, BallY), kBallRadius);

  for (int i = 1; i <= kPlayerCount; ++i) {
    const Fixed left = Players[i].X - kBoxOffset;
    const Fixed top = Players[i].Y - kBoxOffset;
    picMain.Rectangle(At(left, top), At(left + kBoxSide, top + kBoxSide), PlayerColour(i));
  }
}

}  // namespace quarrow
