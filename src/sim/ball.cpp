#include "sim/ball.h"

#include <cmath>

#include "game/game_state.h"
#include "rules/court.h"

namespace quarrow {
namespace {

constexpr double kThrowSpeed = 5;
constexpr double kSubStep = 0.1;
constexpr double kDeadSpeed = 5.0 / 3.0;
constexpr double kLiveFriction = 0.98;
constexpr double kDeadFriction = 0.92;

// One sub-step's displacement for an angle and speed. Recomputing the cosine and sine only when the
// angle changes (at a bounce) gives the same bits as computing them every sub-step.
struct SubStep {
  double angle;
  Fixed dx, dy;
};

SubStep SubStepFor(double angle, double speed) {
  return SubStep{angle, ToFixed(std::cos(angle) * speed * kSubStep),
                 ToFixed(std::sin(angle) * speed * kSubStep)};
}

double Reflected(double x, double y) {
  return DirectionOfDelta(x, y).ToDouble();
}

}  // namespace

void MoveBall() {
  if (BallHolder != 0) {
    BallX = Players[BallHolder].X;
    BallY = Players[BallHolder].Y;
  } else {
    const double speed = BallSpeed;
    SubStep step = SubStepFor(BallAngle, BallSpeed);
    for (double t = 0; t <= speed; t += kSubStep) {
      if (step.angle != BallAngle) {
        step = SubStepFor(BallAngle, BallSpeed);
      }
      BallX = BallX + step.dx;
      BallY = BallY - step.dy;
      BounceBall();
    }
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
    BallAngle = Reflected(-std::cos(BallAngle), -std::sin(BallAngle));
  }
  if (BallX < Fixed{}) {
    BallTeam = 0;
    BallX = Fixed{};
    BallAngle = Reflected(-std::cos(BallAngle), -std::sin(BallAngle));
  }
  if (BallY < Fixed{}) {
    BallTeam = 0;
    BallY = Fixed{};
    BallAngle = Reflected(std::cos(BallAngle), std::sin(BallAngle));
  }
  if (BallY > ToFixed(CourtHeight)) {
    BallTeam = 0;
    BallY = ToFixed(CourtHeight);
    BallAngle = Reflected(std::cos(BallAngle), std::sin(BallAngle));
  }
}

void ThrowBall(Number aimX, Number aimY) {
  if (BallHolder < 1 || BallHolder > kPlayerCount) {
    return;
  }
  Players[BallHolder].HasBall = kFalse;
  LastThrower = BallHolder;
  BallHolder = 0;
  BallAngle = Direction(aimX, aimY, BallX, BallY).ToDouble();
  BallSpeed = kThrowSpeed;
}

}  // namespace quarrow
