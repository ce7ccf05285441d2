#include "sim/contact.h"

#include <array>
#include <cmath>

#include "game/game_state.h"
#include "rules/court.h"
#include "rules/trig.h"
#include "sim/ball.h"

namespace quarrow {
namespace {

constexpr int kHalfBox = 4;
constexpr double kReach = 2;
// No margin exceeds kReach, so a ball this far from the centre cannot touch; deciding that exactly
// in fixed spares the doubles for the few players near the ball.
constexpr Fixed kOutOfReach = Fixed::FromInt(kHalfBox + 3);

// The reach margins are approximate; the C library's lie within kReachBound. Doubling is exact and
// fabs brings nothing farther apart.
constexpr double kReachBound = kReach * kSinCosBound;

// Strictly inside the open interval (centre - half - margin, centre + half + margin), for a margin
// within bound of the one given; exact() gives the margin itself.
template <typename Exact>
bool Within(Fixed centre, double margin, double bound, Fixed ball, const Exact& exact) {
  const double b = ball.ToDouble();
  const double low = (centre - kHalfBox).ToDouble();
  const double high = (centre + kHalfBox).ToDouble();
  // A wider margin can only turn a miss into a touch.
  const auto inside = [&](double m) { return low - m < b && b < high + m; };
  return HoldsNear(margin, bound, inside, exact);
}

// A back-zone thrower whose live ball touched somebody comes back into court; back players never
// do.
void ReturnThrower() {
  const std::int16_t t = LastThrower;
  if (t < 1 || t > kPlayerCount) {
    return;
  }
  if (Players[t].Role == 3 && t != Teams[1].BackPlayer) {
    Players[t].Role = 1;
    ++Counts.returns[1];
  } else if (Players[t].Role == 4 && t != Teams[2].BackPlayer) {
    Players[t].Role = 2;
    ++Counts.returns[2];
  }
}

}  // namespace

void CheckBallContact(std::int16_t i) {
  if (BallHolder != 0) {
    return;
  }
  PlayerInfo& p = Players[i];
  // Most players are far from the ball; that is decided before any margin is looked up.
  if (Abs(BallX - p.X) >= kOutOfReach || Abs(BallY - p.Y) >= kOutOfReach) {
    return;
  }
  const bool live = BallTeam != 0;
  double marginX = 0;
  double marginY = 0;
  if (live) {
    const SinCos& t = BallSinCos();
    marginX = std::fabs(kReach * t.cos);
    marginY = std::fabs(kReach * t.sin);
  }
  const double bound = live ? kReachBound : 0.0;
  const auto exactX = [] { return std::fabs(kReach * std::cos(BallAngle)); };
  const auto exactY = [] { return std::fabs(kReach * std::sin(BallAngle)); };
  if (!Within(p.X, marginX, bound, BallX, exactX) || !Within(p.Y, marginY, bound, BallY, exactY)) {
    return;
  }

  if (!live) {
    if (ZoneOf(p.X, p.Y) == p.Role) {
      p.HasBall = kTrue;
      BallHolder = i;
      BallTeam = p.Role;
      ++Counts.pickups;
    }
    return;
  }
  if (BallTeam == p.Role) {
    return;
  }
  if (p.Role == 1 || p.Role == 2) {
    if (i == Teams[p.Role].BackPlayer) {
      Teams[p.Role].Lives -= 1;
      ++Counts.livesLost[p.Role];
    } else {
      ++Counts.hits[p.Role];
      p.Role += 2;
    }
  }
  ReturnThrower();
  BallTeam = 0;
  BallSpeed = BallSpeed / 2;
}

void UpdateBackPlayers() {
  std::array<int, 3> inRole{};  // players in roles 1 and 2, counted in one pass
  for (int i = 1; i <= kPlayerCount; ++i) {
    const std::int16_t role = Players[i].Role;
    if (role == 1 || role == 2) {
      ++inRole[role];
    }
  }
  int c1 = inRole[1];
  int c2 = inRole[2];
  PlayerInfo& back1 = Players[Teams[1].BackPlayer];
  PlayerInfo& back2 = Players[Teams[2].BackPlayer];
  c1 -= back1.Role == 1;
  c2 -= back2.Role == 2;
  Counts.backEntries[1] += c1 <= 0 && back1.Role != 1;
  Counts.backEntries[2] += c2 <= 0 && back2.Role != 2;
  back1.Role = c1 > 0 ? 3 : 1;
  back2.Role = c2 > 0 ? 4 : 2;
}

}  // namespace quarrow
