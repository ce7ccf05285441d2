#include "sim/ball.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "rules/exact_trig.h"

namespace quarrow {
namespace {

using testing::Fx;

using Ball = testing::GameStateTest;

TEST_F(Ball, HeldBallRidesWithItsHolderWithoutEdgeTests) {
  // The holder stands beyond the right edge: a free ball there would be reflected and killed.
  Players[3].X = Fx(300.1234);
  Players[3].Y = Fx(-5.5);
  Players[3].HasBall = kTrue;
  BallHolder = 3;
  BallTeam = 1;
  BallAngle = 1;
  BallSpeed = 5;
  MoveBall();
  EXPECT_EQ(BallX, Fx(300.1234));
  EXPECT_EQ(BallY, Fx(-5.5));
  EXPECT_EQ(BallTeam, 1);
  EXPECT_EQ(BallAngle, 1);
  EXPECT_EQ(BallSpeed, 5 * 0.98);
}

TEST_F(Ball, SubStepCountFollowsTheAccumulatedCounter) {
  struct Case {
    double speed;
    int subSteps;
    double stepLength;  // speed * 0.1 to four decimals
    bool staysLive;     // 5/3 and above
  };
  const Case cases[] = {
      {5, 51, 0.5, true},  {4.9, 50, 0.49, true}, {2, 20, 0.2, true},
      {1, 11, 0.1, false}, {0.2, 3, 0.02, false}, {0, 1, 0, false},
  };
  for (const Case& c : cases) {
    LooseBall(50, 84, 2, 0, c.speed);
    MoveBall();
    EXPECT_EQ(BallX, Fx(50) + Fixed::FromCount(c.subSteps * Fx(c.stepLength).count))
        << "speed " << c.speed;
    EXPECT_EQ(BallY, Fx(84)) << "speed " << c.speed;
    EXPECT_EQ(BallTeam, c.staysLive ? 2 : 0) << "speed " << c.speed;
    EXPECT_EQ(BallSpeed, c.speed * (c.staysLive ? 0.98 : 0.92)) << "speed " << c.speed;
  }
}

// The simple form counts along the counter; speeds on, just beside and between its values.
TEST_F(Ball, SubStepCountEqualsCountingAlong) {
  const auto reference = [](double speed) {
    std::int64_t n = 0;
    for (double t = 0; t <= speed; t += 0.1) {
      ++n;
    }
    return n;
  };
  std::mt19937_64 bits(3);
  double t = 0;
  for (int k = 0; k < 80; ++k, t += 0.1) {
    const double between = std::uniform_real_distribution<double>(t, t + 0.1)(bits);
    for (double speed : {t, std::nextafter(t, 0.0), std::nextafter(t, 1.0), between}) {
      ASSERT_EQ(SubStepCount(speed), reference(speed)) << speed;
    }
  }
  EXPECT_EQ(SubStepCount(-0.5), 0);
  EXPECT_EQ(SubStepCount(std::nan("")), 0);
}

TEST_F(Ball, StraightUpLeavesXUnchanged) {
  // cos(1.5708) * 0.5 is about -0.0000018, which rounds to nothing.
  LooseBall(100, 100, 1, 1.5708, 5);
  MoveBall();
  EXPECT_EQ(BallX, Fx(100));
  EXPECT_EQ(BallY, Fx(74.5));
}

TEST_F(Ball, DiesOnlyBelowFiveThirds) {
  const double deadSpeed = 5.0 / 3.0;
  LooseBall(100, 84, 3, 0, deadSpeed);
  MoveBall();
  EXPECT_EQ(BallTeam, 3);
  EXPECT_EQ(BallSpeed, deadSpeed * 0.98);

  const double below = std::nextafter(deadSpeed, 0.0);
  LooseBall(100, 84, 3, 0, below);
  MoveBall();
  EXPECT_EQ(BallTeam, 0);
  EXPECT_EQ(BallSpeed, below * 0.92);
}

TEST_F(Ball, EdgesReflectAndKillOnlyBeyondTheLine) {
  struct Case {
    double x, y, angle;
    double newX, newY, newAngle;
    bool dies;
  };
  const Case cases[] = {
      {257, 84, 0.3, 257, 84, 0.3, false},
      {0, 84, 0.3, 0, 84, 0.3, false},
      {100, 0, 0.3, 100, 0, 0.3, false},
      {100, 169, 0.3, 100, 169, 0.3, false},
      {257.0001, 84, 0.3, 257, 84, 2.8416, true},
      {-0.0001, 84, 0.3, 0, 84, 2.8416, true},
      {257.0001, 84, 0, 257, 84, 3.1416, true},
      {257.0001, 84, 0.7854, 257, 84, 2.3562, true},
      {100, -0.0001, 0.7854, 100, 0, 5.4978, true},
      {100, 169.0001, 0.7854, 100, 169, 5.4978, true},
      // A corner crossed in one sub-step: reflected at the side, then at the top.
      {257.0001, -0.0001, 0.7854, 257, 0, 3.9270, true},
  };
  for (const Case& c : cases) {
    LooseBall(c.x, c.y, 1, c.angle);
    BounceBall();
    EXPECT_EQ(BallX, Fx(c.newX)) << c.x << ", " << c.y;
    EXPECT_EQ(BallY, Fx(c.newY)) << c.x << ", " << c.y;
    EXPECT_EQ(BallAngle, c.newAngle) << c.x << ", " << c.y;
    EXPECT_EQ(BallTeam, c.dies ? 0 : 1) << c.x << ", " << c.y;
  }
}

TEST_F(Ball, BounceTurnsTheRemainingSubStepsAndDeadFrictionApplies) {
  // 0.5 a sub-step from 250: the 15th reaches 257.5 and is put back on 257, the other 36 run left.
  LooseBall(250, 84, 2, 0, 5);
  MoveBall();
  EXPECT_EQ(BallX, Fx(239));
  EXPECT_EQ(BallY, Fx(84));
  EXPECT_EQ(BallAngle, 3.1416);
  EXPECT_EQ(BallTeam, 0);
  EXPECT_EQ(BallSpeed, 5 * 0.92);
}

TEST_F(Ball, CornerCrossedMidFlightReversesTheBall) {
  // 0.3536 a sub-step on each axis: the 2nd sub-step leaves at the top right corner, the other 49
  // run back down and left.
  LooseBall(256.5, 0.5, 1, 0.7854, 5);
  MoveBall();
  EXPECT_EQ(BallAngle, 3.9270);
  EXPECT_EQ(BallX, Fx(257 - 49 * 0.3536));
  EXPECT_EQ(BallY, Fx(49 * 0.3536));
  EXPECT_EQ(BallTeam, 0);
}

TEST_F(Ball, StillBallBeyondAnEdgeIsPutBackOnIt) {
  LooseBall(300, 200, 0, 0.3, 0);
  MoveBall();
  EXPECT_EQ(BallX, Fx(257));
  EXPECT_EQ(BallY, Fx(169));
  // pi - 0.3 at the side, then its mirror 2 pi - 2.8416 at the bottom.
  EXPECT_EQ(BallAngle, 3.4416);
  EXPECT_EQ(BallSpeed, 0);
}

// The flight as the rules spell it: one sub-step at a time, with the edge tests after each, and the
// correctly rounded sine and cosine.
void MoveFreeBallStepByStep() {
  const double speed = BallSpeed;
  for (double t = 0; t <= speed; t += 0.1) {
    BallX = BallX + ToFixed(Cosine(BallAngle) * BallSpeed * 0.1);
    BallY = BallY - ToFixed(Sine(BallAngle) * BallSpeed * 0.1);
    BounceBall();
  }
  if (BallSpeed < 5.0 / 3.0) {
    BallTeam = 0;
  }
  BallSpeed = BallSpeed * (BallTeam != 0 ? 0.98 : 0.92);
}

TEST_F(Ball, FreeFlightMatchesSubStepsOneByOne) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> x(-3, 260), y(-3, 172), speed(0, 7);
  std::uniform_int_distribution<int> angle(0, 62832);
  for (int k = 0; k < 20000; ++k) {
    LooseBall(x(gen), y(gen), static_cast<std::int16_t>(k % 2), angle(gen) / 10000.0, speed(gen));
    if (k % 5 == 0) {
      BallAngle = 1.5708 * (k % 4);  // along an axis
    }
    if (k % 3 == 0) {
      // On the counter's own values and an ulp beside them, where the number of sub-steps turns.
      double t = 0;
      for (int j = k % 71; j > 0; --j) {
        t += 0.1;
      }
      const double speeds[] = {std::nextafter(t, 0.0), t, std::nextafter(t, 8.0)};
      BallSpeed = speeds[k % 9 / 3];
    }
    const Fixed x0 = BallX, y0 = BallY;
    const double a0 = BallAngle, s0 = BallSpeed;
    const std::int16_t team0 = BallTeam;
    MoveFreeBallStepByStep();
    const Fixed x1 = BallX, y1 = BallY;
    const double a1 = BallAngle, s1 = BallSpeed;
    const std::int16_t team1 = BallTeam;
    LooseBall(0, 0, team0, a0, s0);
    BallX = x0;
    BallY = y0;
    MoveBall();
    ASSERT_TRUE(BallX == x1 && BallY == y1 && BallAngle == a1 && BallSpeed == s1 &&
                BallTeam == team1)
        << "from " << x0.count << ", " << y0.count << " angle " << a0 << " speed " << s0;
  }
}

TEST_F(Ball, ThrowReleasesTowardsTheAimPoint) {
  // {aim x, aim y, angle} from the holder at (150, 84); the aim is exact, then an average.
  const double cases[][3] = {
      {200, 84, 0}, {150, 84, 0}, {100, 84, 3.1416}, {150, 74, 1.5708}, {153, 80, 0.9273}};
  for (bool exact : {true, false}) {
    for (const auto& c : cases) {
      Players[7].X = BallX = Fx(150);
      Players[7].Y = BallY = Fx(84);
      Players[7].HasBall = kTrue;
      BallHolder = 7;
      BallTeam = 2;
      BallSpeed = 1;
      ThrowBall(exact ? Number::Of(Fx(c[0])) : Number::Of(c[0]),
                exact ? Number::Of(Fx(c[1])) : Number::Of(c[1]));
      SCOPED_TRACE(::testing::Message() << c[0] << ", " << c[1]);
      EXPECT_EQ(BallAngle, c[2]);
      EXPECT_EQ(BallSpeed, 5);
      EXPECT_EQ(BallHolder, 0);
      EXPECT_EQ(LastThrower, 7);
      EXPECT_EQ(Players[7].HasBall, kFalse);
      EXPECT_EQ(BallTeam, 2);
      EXPECT_EQ(BallX, Fx(150));
    }
  }
}

}  // namespace
}  // namespace quarrow
