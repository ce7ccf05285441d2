#include "game/game_state.h"

namespace quarrow {

Fixed BallX, BallY;
double BallAngle = 0.0;
double BallSpeed = 0.0;
std::int16_t BallTeam = 0;
std::int16_t BallHolder = 0;
std::int16_t LastThrower = 0;
PlayerTable Players{};
TeamTable Teams{};
std::int16_t CourtWidth = 0, CourtHeight = 0;
std::int16_t HalfWidth = 0, ThirdWidth = 0;
Flag MaxMode = kFalse, FastMode = kFalse, Restarting = kFalse;
MatchCounts Counts{};
ZoneDrawMemo PointSearchDraws{}, RoamDraws{};
BallSinCosMemo BallSinCosKept{};

void ResetGameState() {
  BallX = BallY = Fixed{};
  BallAngle = BallSpeed = 0.0;
  BallTeam = BallHolder = LastThrower = 0;
  Players = PlayerTable{};
  Teams = TeamTable{};
  CourtWidth = CourtHeight = HalfWidth = ThirdWidth = 0;
  MaxMode = FastMode = Restarting = kFalse;
  Counts = MatchCounts{};
  PointSearchDraws = RoamDraws = ZoneDrawMemo{};
  BallSinCosKept = BallSinCosMemo{};
}

}  // namespace quarrow
