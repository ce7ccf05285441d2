#include "sim/ball.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "game/game_state.h"
#include "rules/court.h"
#include "rules/trig.h"

namespace quarrow {
namespace {

constexpr double kThrowSpeed = 5;
constexpr double kSubStep = 0.1;
constexpr double kDeadSpeed = 5.0 / 3.0;
constexpr double kLiveFriction = 0.98;
constexpr double kDeadFriction = 0.92;

// One sub-step's displacement along the ball's angle at a speed.
struct SubStep {
  Fixed dx, dy;
};

SubStep SubStepFor(double speed) {
  const SinCos t = BallSinCos();
  const double gain = std::fabs(speed) * kSubStep;
  const auto form = [speed](double v) { return v * speed * kSubStep; };
  return SubStep{RoundedCos(t, gain, form), RoundedSin(t, gain, form)};
}

// The counter's first values, each the double sum of the one before and kSubStep, formed by the
// compiler with the same roundings.
constexpr std::array<double, 64> kCounter = [] {
  std::array<double, 64> values{};
  double t = 0;
  for (double& v : values) {
    v = t;
    t += kSubStep;
  }
  return values;
}();

}  // namespace

std::int64_t SubStepCount(double speed) {
  const std::array<double, 64>& counter = kCounter;
  if (!(speed >= 0)) {
    return 0;
  }
  if (speed < counter.back()) {
    // The k-th value lies a few ulps from k / 10, so the count is found beside speed * 10 rather
    // than by a search; the two loops settle it exactly.
    auto n = static_cast<std::int64_t>(speed * 10);
    while (counter[n] <= speed) {
      ++n;
    }
    while (n > 0 && counter[n - 1] > speed) {
      --n;
    }
    return n;
  }
  auto n = static_cast<std::int64_t>(counter.size());
  for (double t = counter.back() + kSubStep; t <= speed; t += kSubStep) {
    ++n;
  }
  return n;
}

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// The first sub-step (1, 2, ...) after which a position p moving by d per sub-step lies strictly
// outside [low, high]; kNever when it never does. Positions after j sub-steps are exactly p + j *
// d.
std::int64_t FirstExit(Fixed p, Fixed d, Fixed low, Fixed high) {
  const Fixed first = p + d;
  if (first < low || first > high) {
    return 1;
  }
  if (d.count > 0) {
    return (high - p).count / d.count + 1;
  }
  if (d.count < 0) {
    return (p - low).count / -d.count + 1;
  }
  return kNever;
}

// The sub-steps of a free ball. Every sub-step of a run adds the same fixed displacement and a
// bounce can only happen where the ball leaves the court, so the sub-steps between two edge
// contacts are taken at once; the result is the same as stepping one by one.
void MoveFreeBall() {
  const Fixed width = ToFixed(CourtWidth);
  const Fixed height = ToFixed(CourtHeight);
  std::int64_t remaining = SubStepCount(BallSpeed);
  while (remaining > 0) {
    const SubStep step = SubStepFor(BallSpeed);
    const std::int64_t exitX = FirstExit(BallX, step.dx, Fixed{}, width);
    const std::int64_t exitY = FirstExit(BallY, -step.dy, Fixed{}, height);
    const std::int64_t run = std::min({remaining, exitX, exitY});
    BallX = BallX + Fixed{step.dx.count * run};
    BallY = BallY - Fixed{step.dy.count * run};
    if (run == exitX || run == exitY) {
      BounceBall();
    }
    remaining -= run;
  }
}

double Reflected(double angle, double sign) {
  return DirectionOfUnit(angle, sign).ToDouble();
}

}  // namespace

SinCos BallSinCos() {
  BallSinCosMemo& kept = BallSinCosKept;
  if (!(kept.angle == BallAngle)) {
    const SinCos t = ApproxSinCos(BallAngle);
    kept = BallSinCosMemo{BallAngle, t.sin, t.cos, t.count};
  }
  return SinCos{kept.sin, kept.cos, kept.count};
}

void MoveBall() {
  if (BallHolder != 0) {
    BallX = Players[BallHolder].X;
    BallY = Players[BallHolder].Y;
  } else {
    MoveFreeBall();
  }
  if (BallSpeed < kDeadSpeed && BallHolder == 0) {
    BallTeam = 0;
  }
  BallSpeed = BallSpeed * (BallTeam != 0 ? kLiveFriction : kDeadFriction);
}

void BounceBall() {
  // Each test sees what the earlier ones left, so a corner reflects twice.
  if (BallX > ToFixed(CourtWidth)) {
    BallTeam = 0;
    BallX = ToFixed(CourtWidth);
    BallAngle = Reflected(BallAngle, -1);
  }
  if (BallX < Fixed{}) {
    BallTeam = 0;
    BallX = Fixed{};
    BallAngle = Reflected(BallAngle, -1);
  }
  if (BallY < Fixed{}) {
    BallTeam = 0;
    BallY = Fixed{};
    BallAngle = Reflected(BallAngle, 1);
  }
  if (BallY > ToFixed(CourtHeight)) {
    BallTeam = 0;
    BallY = ToFixed(CourtHeight);
    BallAngle = Reflected(BallAngle, 1);
  }
}

void PlaceBall(float x, float y) {
  if (BallTeam != 0) {
    return;
  }
  BallX = ClaimedX(ToFixed(static_cast<double>(x)));
  BallY = ToFixed(static_cast<double>(y));
  BallSpeed = 0.0;
}

void ThrowBall(Number aimX, Number aimY) {
  if (BallHolder < 1 || BallHolder > kPlayerCount) {
    return;
  }
  ++Counts.throws;
  Players[BallHolder].HasBall = kFalse;
  LastThrower = BallHolder;
  BallHolder = 0;
  BallAngle = Direction(aimX, aimY, BallX, BallY).ToDouble();
  BallSpeed = kThrowSpeed;
}

}  // namespace quarrow
