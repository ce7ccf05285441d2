#include "sim/contact.h"

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

// Abs(a - b) >= kOutOfReach in one unsigned comparison: the difference moved up by the reach less
// one lies below twice that only when it is nearer; unsigned, the sums cannot overflow.
bool OutOfReach(Fixed a, Fixed b) {
  constexpr std::uint64_t kNear = kOutOfReach.count - 1;
  return static_cast<std::uint64_t>(a.count) - static_cast<std::uint64_t>(b.count) + kNear >
         2 * kNear;
}

// The reach margins are approximate; the exact ones lie within kReachBound. Doubling is exact and
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
  const std::int16_t team = TeamOf(Players[t].Role);
  if (team != 0 && Players[t].Role == BackZoneRole(team) && t != Teams[team].BackPlayer) {
    Players[t].Role = team;
    ++Counts.returns[team];
  }
}

}  // namespace

void CheckBallContact(std::int16_t i) {
  if (BallHolder != 0) {
    return;
  }
  PlayerInfo& p = Players[i];
  // Most players are far from the ball: settle them before any margin is looked at.
  if (OutOfReach(BallX, p.X) || OutOfReach(BallY, p.Y)) {
    return;
  }
  const bool live = BallTeam != 0;
  double marginX = 0;
  double marginY = 0;
  if (live) {
    const SinCos t = BallSinCos();
    marginX = std::fabs(kReach * t.cos);
    marginY = std::fabs(kReach * t.sin);
  }
  const double bound = live ? kReachBound : 0.0;
  const auto exactX = [] { return std::fabs(kReach * Cosine(BallAngle)); };
  const auto exactY = [] { return std::fabs(kReach * Sine(BallAngle)); };
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
  // Only a court player is hit; his team's number is his role.
  if (const std::int16_t team = TeamOf(p.Role); team != 0 && p.Role == team) {
    if (i == Teams[team].BackPlayer) {
      Teams[team].Lives -= 1;
      ++Counts.livesLost[team];
    } else {
      ++Counts.hits[team];
      p.Role = BackZoneRole(team);
    }
  }
  ReturnThrower();
  BallTeam = 0;
  BallSpeed = BallSpeed / 2;
}

namespace {

// Whether a player other than back holds the court role; the search stops at the first.
bool OtherInRole(std::int16_t role, std::int16_t back) {
  for (std::int16_t i = 1; i <= kPlayerCount; ++i) {
    if (Players[i].Role == role && i != back) {
      return true;
    }
  }
  return false;
}

}  // namespace

void UpdateBackPlayers() {
  // A back player's role is never another team's court role, so each team can be settled in turn.
  for (std::int16_t team = 1; team <= kTeamCount; ++team) {
    PlayerInfo& back = Players[Teams[team].BackPlayer];
    const bool othersInCourt = OtherInRole(team, Teams[team].BackPlayer);
    Counts.backEntries[team] += !othersInCourt && back.Role != team;
    back.Role = othersInCourt ? BackZoneRole(team) : team;
  }
}

}  // namespace quarrow
