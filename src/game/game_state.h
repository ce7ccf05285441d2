#pragma once

// The one state of the game: plain module-level variables that every subsystem reads and writes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "game/match_record.h"
#include "game/values.h"

namespace quarrow {

inline constexpr int kPlayerCount = 10;

struct PlayerInfo {
  Fixed X, Y;
  std::int16_t TargetX = 0, TargetY = 0;
  Fixed StepX, StepY;
  std::int16_t Role = 0;
  double Speed = 0.0;
  Flag HasBall = kFalse;
};

struct TeamInfo {
  std::int16_t BackPlayer = 0;
  std::int16_t Lives = 0;
};

// Roles 1 and 2 are the two teams' court players, 3 and 4 their players in the end zone behind
// the opponents: a team's court role is its number, its back-zone role two more.
inline constexpr std::int16_t kBackZoneOffset = 2;

// The team a role plays for, 1 or 2; 0 for a value that is no role.
inline constexpr std::int16_t TeamOf(std::int16_t role) {
  return role >= 1 && role <= kTeamCount + kBackZoneOffset ? static_cast<std::int16_t>(2 - role % 2)
                                                           : std::int16_t{0};
}

inline constexpr std::int16_t BackZoneRole(std::int16_t team) {
  return static_cast<std::int16_t>(team + kBackZoneOffset);
}

// Players are numbered 1 to 10 and teams 1 and 2; element 0 of each array is never used.
using PlayerTable = std::array<PlayerInfo, kPlayerCount + 1>;
using TeamTable = std::array<TeamInfo, kTeamCount + 1>;

extern Fixed BallX, BallY;
extern double BallAngle;
extern double BallSpeed;
extern std::int16_t BallTeam;
extern std::int16_t BallHolder;
extern std::int16_t LastThrower;
extern PlayerTable Players;
extern TeamTable Teams;
extern std::int16_t CourtWidth, CourtHeight;
extern std::int16_t HalfWidth, ThirdWidth;
extern Flag MaxMode, FastMode, Restarting;

// The current match's counts; match setup starts them afresh.
extern MatchCounts Counts;

// The draws for which a search's x lands in a role's zone: low <= draw < high.
struct DrawRange {
  float low = 0;
  float high = 0;
  bool Holds(float draw) const { return low <= draw && draw < high; }
};

// Each search's draw ranges by role (0 stays empty), for the court width they were found for.
struct ZoneDrawMemo {
  std::int16_t width = 0;
  std::array<DrawRange, 5> byRole{};
};

extern ZoneDrawMemo PointSearchDraws, RoamDraws;

// The sine and cosine of BallAngle as the ball's trigonometry gives them (count as there), kept
// while the angle lasts: a flight's sub-steps and the reach tests near the ball share them. angle
// is the BallAngle they belong to; not a number, none.
struct BallSinCosMemo {
  double angle = std::numeric_limits<double>::quiet_NaN();
  double sin = 0.0, cos = 0.0;
  std::int64_t count = 0;
};

extern BallSinCosMemo BallSinCosKept;

// Everything back to zero, as at program start.
void ResetGameState();

// Depth of each end zone in pixels.
inline constexpr std::int16_t kEndZoneDepth = 40;

// The line in front of the right end zone, formed in int16.
inline std::int16_t FarEndLine() {
  return static_cast<std::int16_t>(CourtWidth - kEndZoneDepth);
}

// The exact middle of the court, unrounded: the line every test against "the middle" uses.
inline double Mid() {
  return CourtWidth / 2.0;
}

// The same middle as a fixed value. A fixed position compares with it exactly as its double would
// with Mid(): both sides are multiples of 0.0001, and the double of a fixed value never crosses
// one.
inline Fixed ExactMid() {
  return HalfOf(CourtWidth);
}

}  // namespace quarrow
