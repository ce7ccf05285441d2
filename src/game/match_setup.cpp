#include "game/match_setup.h"

#include <cmath>

#include "game/game_state.h"
#include "game/platform.h"

namespace quarrow {
namespace {

// Half an end zone's depth: the back players start in the middle of theirs.
constexpr int kHalfEndZone = kEndZoneDepth / 2;
constexpr std::int16_t kTeamSize = kPlayerCount / 2;

void PlaceCourtPlayer(PlayerInfo& p, std::int16_t role, double left) {
  p.Role = role;
  p.X = ToFixed(std::floor(Draw() * (CourtWidth / 2.0 - kEndZoneDepth)) + left);
  p.Y = ToFixed(Draw() * static_cast<double>(CourtHeight));
  p.TargetX = ToInt16(p.X);
  p.TargetY = ToInt16(p.Y);
  p.Speed = 2.0 * Draw() + 2.0;
}

void PlaceBackPlayer(PlayerInfo& p, std::int16_t role, Fixed x) {
  p.X = x;
  p.Y = ToFixed(CourtHeight / 2.0);
  p.TargetX = ToInt16(p.X);
  p.TargetY = ToInt16(p.Y);
  p.Role = role;
}

}  // namespace

void InitGame() {
  ReseedDraws();
  const CourtSize interior = ThePlatform().CourtInterior();
  CourtWidth = ToInt16(static_cast<double>(interior.width));
  CourtHeight = ToInt16(static_cast<double>(interior.height));
  HalfWidth = ToInt16(CourtWidth / 2.0);
  ThirdWidth = ToInt16(CourtWidth / 3.0);

  Players = PlayerTable{};
  for (int i = 1; i <= kTeamSize; ++i) {
    PlaceCourtPlayer(Players[i], 1, kEndZoneDepth);
  }
  for (int i = kTeamSize + 1; i <= kPlayerCount; ++i) {
    PlaceCourtPlayer(Players[i], 2, CourtWidth / 2.0);
  }

  constexpr std::int16_t kBack1 = 1;
  constexpr std::int16_t kBack2 = kTeamSize + 1;
  PlaceBackPlayer(Players[kBack1], BackZoneRole(1),
                  ToFixed(static_cast<std::int16_t>(CourtWidth - kHalfEndZone)));
  PlaceBackPlayer(Players[kBack2], BackZoneRole(2), Fixed::FromInt(kHalfEndZone));

  Counts = MatchCounts{};
  Teams[1] = TeamInfo{kBack1, 3};
  Teams[2] = TeamInfo{kBack2, 3};
  GiveBall(kBack2);
}

void GiveBall(std::int16_t player) {
  if (player < 1 || player > kPlayerCount) {
    return;
  }
  BallHolder = player;
  BallTeam = Players[player].Role;
  Players[player].HasBall = kTrue;
}

}  // namespace quarrow
