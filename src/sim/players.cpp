#include "sim/players.h"

#include <cmath>

#include "game/game_state.h"
#include "game/platform.h"
#include "rules/court.h"
#include "rules/trig.h"
#include "sim/ball.h"
#include "sim/contact.h"

namespace quarrow {
namespace {

constexpr double kNoCandidate = 10000;
constexpr double kDodgeDistance = 5;
constexpr int kCentreReach = 2;

bool Arrived(const PlayerInfo& p) {
  return RoundsTo(p.X, p.TargetX) && RoundsTo(p.Y, p.TargetY);
}

// Walk towards the aim point, or throw once within range or at the centre line.
void Aim(std::int16_t i, Number& aimX, Number& aimY) {
  PlayerInfo& p = Players[i];
  ChooseTarget(i, aimX, aimY);
  const double dx = Difference(aimX, p.X);
  const double dy = Difference(aimY, p.Y);
  bool shoot = std::sqrt(dx * dx + dy * dy) < HalfWidth;
  const Fixed mid = ExactMid();
  if (p.X + kCentreReach > mid && p.X - kCentreReach < mid) {
    shoot = true;
  }
  if (aimX.ToDouble() == 0 && aimY.ToDouble() == 0) {
    shoot = false;
  }
  if (shoot) {
    ThrowBall(aimX, aimY);
  } else {
    p.TargetX = ToInt16(aimX);
    p.TargetY = ToInt16(aimY);
  }
}

// On arrival, a new random point of the home zone; no events are served between attempts.
void Roam(PlayerInfo& p) {
  if (!Arrived(p)) {
    return;
  }
  const float drawX = FirstDrawIn(ZoneDrawsNow(RoamDraws, RoamX, p.Role));
  p.TargetX = ToInt16(RoamX(drawX));
  p.TargetY = ToInt16(Draw() * static_cast<float>(CourtHeight));
}

// A target 5 beyond the player on the line from the ball through him.
void Dodge(PlayerInfo& p) {
  const SinCos t = ApproxSinCos(Direction(p.X, p.Y, BallX, BallY));
  const auto form = [](double v) { return kDodgeDistance * v; };
  p.TargetX = ToInt16(p.X + RoundedCos(t, kDodgeDistance, form));
  p.TargetY = ToInt16(p.Y - RoundedSin(t, kDodgeDistance, form));
}

// The dead ball's zone, found when first asked in a pass and again after events may have moved it.
struct BallZone {
  static constexpr std::int16_t kUnknown = -1;
  std::int16_t zone = kUnknown;
  std::int16_t Get(const ZoneLines& lines) {
    if (zone == kUnknown) {
      zone = ZoneOf(BallX, lines);
    }
    return zone;
  }
};

// Run to a dead ball lying in the home zone.
void Fetch(PlayerInfo& p, BallZone& ballZone, const ZoneLines& lines) {
  if (ballZone.Get(lines) == p.Role) {
    p.TargetX = ToInt16(BallX);
    p.TargetY = ToInt16(BallY);
  }
}

// Each axis moves by (1 + r) / 2 of a full step along the heading, with its own draw; the vertical
// move comes first and is refused alone when it would leave the court's height.
void TakeStep(PlayerInfo& p) {
  const SinCos t = ApproxSinCos(Direction(p.TargetX, p.TargetY, p.X, p.Y));
  const double speed = p.Speed;
  // A draw is never negative, so the two terms never cancel, and (1 + r) / 2 is below 1.
  const auto form = [speed](double r) {
    return [speed, r](double v) { return v * speed / 2 * r + v * speed / 2; };
  };
  const auto [drawX, drawY] = DrawPair();
  p.StepX = RoundedCos(t, std::fabs(speed), form(drawX));
  p.StepY = RoundedSin(t, std::fabs(speed), form(drawY));
  const Fixed newX = p.X + p.StepX;
  const Fixed newY = p.Y - p.StepY;
  if (InsideCourt(p.X, newY)) {
    p.Y = newY;
  }
  if (InsideCourt(newX, p.Y)) {
    p.X = newX;
  }
}

}  // namespace

double RoamX(float draw) {
  return draw * static_cast<float>(CourtWidth);
}

void MovePlayers() {
  Number aimX = Number::Of(Fixed{});
  Number aimY = Number::Of(Fixed{});
  BallZone ballZone;
  const ZoneLines lines = ZoneLinesNow();
  for (std::int16_t i = 1; i <= kPlayerCount; ++i) {
    PlayerInfo& p = Players[i];
    if (p.HasBall != kFalse) {
      Aim(i, aimX, aimY);
    } else if (SameSide(BallTeam, p.Role) != kFalse) {
      Roam(p);
    } else if (BallTeam != 0) {
      Dodge(p);
    } else {
      Fetch(p, ballZone, lines);
    }
    if (ZoneOf(p.X, lines) != p.Role) {
      RandomPointInZone(p.TargetX, p.TargetY, p.Role);
      // A drag served meanwhile may have placed the ball elsewhere.
      ballZone = BallZone{};
    }
    if (!Arrived(p)) {
      TakeStep(p);
    }
    CheckBallContact(i);
  }
}

void ChooseTarget(std::int16_t thrower, Number& aimX, Number& aimY) {
  const PlayerInfo& t = Players[thrower];
  const std::int16_t team = TeamOf(t.Role);
  // The opponents' court role, which is their team's number.
  const std::int16_t opponents = team == 0 ? 0 : static_cast<std::int16_t>(kTeamCount + 1 - team);
  double best = kNoCandidate;
  std::int16_t nearest = 0;
  std::int16_t sumX = 0;
  std::int16_t sumY = 0;
  std::int16_t count = 0;
  for (std::int16_t j = 1; j <= kPlayerCount; ++j) {
    const PlayerInfo& c = Players[j];
    if (opponents == 0 || c.Role != opponents || PastCentreLine(j) != kFalse) {
      continue;
    }
    sumX = ToInt16(ToFixed(sumX) + c.X);
    sumY = ToInt16(ToFixed(sumY) + c.Y);
    count += 1;
    const double d = (Abs(t.X - c.X) + Abs(t.Y - c.Y)).ToDouble();
    if (d < best) {
      best = d;
      nearest = j;
    }
  }
  if (best < ThirdWidth) {
    aimX = Number::Of(Players[nearest].X);
    aimY = Number::Of(Players[nearest].Y);
  } else if (count > 0) {
    aimX = Number::Of(static_cast<double>(sumX) / count);
    aimY = Number::Of(static_cast<double>(sumY) / count);
  }
}

Flag PastCentreLine(std::int16_t j) {
  const PlayerInfo& p = Players[j];
  const Fixed mid = ExactMid();
  return ToFlag((p.Role == 2 && p.X + kCentreReach < mid) ||
                (p.Role == 1 && p.X - kCentreReach > mid));
}

}  // namespace quarrow
