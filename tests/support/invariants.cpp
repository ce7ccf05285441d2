#include "invariants.h"

#include <sstream>

#include "game/values.h"
#include "rules/court.h"

namespace quarrow::testing {
namespace {

bool HasFourDecimals(double angle) {
  return ToFixed(angle).ToDouble() == angle;
}

}  // namespace

Memory Remember() {
  Memory memory;
  for (int i = 1; i <= kPlayerCount; ++i) {
    memory.speed[i] = Players[i].Speed;
  }
  memory.lives[1] = Teams[1].Lives;
  memory.lives[2] = Teams[2].Lives;
  memory.holder = BallHolder;
  memory.ballTeam = BallTeam;
  return memory;
}

std::string Violation(const Memory& before, Since since) {
  const bool sameMatch = since != Since::MatchStart;
  const bool nextFrame = since == Since::LastFrame;
  std::ostringstream out;
  const double w = CourtWidth;
  const double h = CourtHeight;
  int holders = 0;
  int inCourt[3] = {};
  for (int i = 1; i <= kPlayerCount; ++i) {
    const PlayerInfo& p = Players[i];
    const int team = i <= kPlayerCount / 2 ? 1 : 2;
    if (TeamOf(p.Role) != team) {
      out << "player " << i << " of team " << team << " has role " << p.Role;
    } else if (!(p.Y.ToDouble() >= 0 && p.Y.ToDouble() <= h)) {
      out << "player " << i << " at y " << p.Y.ToDouble();
    } else if (!(p.X.ToDouble() >= -4 && p.X.ToDouble() <= w + 4)) {
      out << "player " << i << " at x " << p.X.ToDouble();
    } else if (sameMatch && p.Speed != before.speed[i]) {
      out << "player " << i << " changed speed";
    } else if (!(p.Speed >= 2 && p.Speed < 4) || Abs(p.StepX).ToDouble() > p.Speed + 0.00005 ||
               Abs(p.StepY).ToDouble() > p.Speed + 0.00005) {
      // A step is below Speed before it is rounded to four decimals.
      out << "player " << i << " speed " << p.Speed << " or step out of range";
    }
    holders += p.HasBall != kFalse;
    inCourt[team] += p.Role == team && i != Teams[team].BackPlayer;
  }
  for (int t = 1; t <= 2; ++t) {
    const std::int16_t lives = Teams[t].Lives;
    const PlayerInfo& back = Players[Teams[t].BackPlayer];
    if (Teams[t].BackPlayer != (t == 1 ? 1 : 6)) {
      out << "team " << t << " changed its back player";
    } else if (lives < 0 || lives > 3 || (sameMatch && lives > before.lives[t])) {
      out << "team " << t << " lives " << before.lives[t] << " -> " << lives;
    } else if (nextFrame && (back.Role == t) != (inCourt[t] == 0)) {
      out << "team " << t << " back player has role " << back.Role << " with " << inCourt[t]
          << " others in court";
    }
  }
  if (nextFrame && before.lives[1] + before.lives[2] - Teams[1].Lives - Teams[2].Lives > 1) {
    out << "more than one life lost in a frame";
  }
  if (BallHolder != 0) {
    const PlayerInfo& p = Players[BallHolder];
    const bool back = BallHolder == Teams[1].BackPlayer || BallHolder == Teams[2].BackPlayer;
    if (holders != 1 || p.HasBall == kFalse) {
      out << "holder " << BallHolder << " but " << holders << " players have the ball";
    } else if (BallTeam < 1 || BallTeam > 4 || (!back && BallTeam != p.Role) ||
               SameSide(BallTeam, p.Role) == kFalse) {
      out << "holder " << BallHolder << " of role " << p.Role << " with ball team " << BallTeam;
    } else if (nextFrame && before.holder == BallHolder && before.ballTeam != BallTeam) {
      out << "ball team changed in the hands of " << BallHolder;
    }
  } else if (holders != 0) {
    out << "nobody holds the ball but " << holders << " players have it";
  } else if (BallTeam != 0) {
    const std::int16_t t = LastThrower;
    const bool back = t == Teams[1].BackPlayer || t == Teams[2].BackPlayer;
    if (t < 1 || t > kPlayerCount || (!back && Players[t].Role != BallTeam)) {
      out << "live ball of team " << BallTeam << " from thrower " << t;
    }
  }
  // Setup leaves the ball where the previous match left it, on whatever court that was.
  if (nextFrame && !(BallY.ToDouble() >= 0 && BallY.ToDouble() <= h && BallX.ToDouble() >= -4 &&
                     BallX.ToDouble() <= w + 4)) {
    out << "ball at " << BallX.ToDouble() << ", " << BallY.ToDouble();
  } else if (!(BallSpeed >= 0 && BallSpeed <= 5)) {
    out << "ball speed " << BallSpeed;
  } else if (!(BallAngle >= 0 && BallAngle <= 6.2832 && HasFourDecimals(BallAngle))) {
    out << "ball angle " << BallAngle;
  }
  return out.str();
}

}  // namespace quarrow::testing
