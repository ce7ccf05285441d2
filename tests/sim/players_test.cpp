#include "sim/players.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/scripted_platform.h"

namespace quarrow {
namespace {

using testing::Fx;
using testing::ScriptedPlatform;
using testing::Then;

class Behaviour : public testing::GameStateTest {
 protected:
  void SetUp() override {
    GameStateTest::SetUp();
    ParkPlayers();
  }
  static void Place(int i, double x, double y, std::int16_t role) {
    Players[i].X = Fx(x);
    Players[i].Y = Fx(y);
    Players[i].TargetX = ToInt16(Players[i].X);
    Players[i].TargetY = ToInt16(Players[i].Y);
    Players[i].Role = role;
  }
  static void Hold(int i) {
    Players[i].HasBall = kTrue;
    BallHolder = static_cast<std::int16_t>(i);
    BallTeam = Players[i].Role;
    BallX = Players[i].X;
    BallY = Players[i].Y;
  }
};

TEST_F(Behaviour, PastCentreLineIsStrictAndOnlyForCourtRoles) {
  struct Case {
    std::int16_t role;
    double x;
    Flag past;
  };
  // The middle of a 257 court is 128.5.
  const Case cases[] = {
      {1, 130.5, kFalse},    {1, 130.5001, kTrue},  {2, 126.5, kFalse},    {2, 126.4999, kTrue},
      {3, 130.5001, kFalse}, {4, 126.4999, kFalse}, {1, 126.4999, kFalse}, {2, 130.5001, kFalse},
  };
  for (const Case& c : cases) {
    Place(9, c.x, 84, c.role);
    EXPECT_EQ(PastCentreLine(9), c.past) << "role " << c.role << " at " << c.x;
  }
}

TEST_F(Behaviour, ChooseTargetAimsAtTheNearestBelowAThirdElseTheCentre) {
  struct Case {
    double x8, y8;  // player 8; the other candidates stay parked more than 86 away
    double aimX, aimY;
  };
  const Case cases[] = {
      // Manhattan distance 85.9999: player 8 himself.
      {150, 119.9999, 150, 119.9999},
      // Exactly 86: the centre of 7 to 10, (160 + 150 + 190 + 205) / 4 and (20 + 120 + 20 + 20)
      // / 4.
      {150, 120, 176.25, 45},
  };
  for (const Case& c : cases) {
    Place(2, 100, 84, 1);
    Place(8, c.x8, c.y8, 2);
    Number aimX = Number::Of(Fixed{});
    Number aimY = Number::Of(Fixed{});
    ChooseTarget(2, aimX, aimY);
    EXPECT_EQ(aimX.ToDouble(), c.aimX) << c.y8;
    EXPECT_EQ(aimY.ToDouble(), c.aimY) << c.y8;
  }

  // Two at the same distance 10: the lower number.
  Place(2, 120, 84, 1);
  Place(9, 130, 84, 2);
  Place(7, 127, 87, 2);
  Number aimX = Number::Of(Fixed{});
  Number aimY = Number::Of(Fixed{});
  ChooseTarget(2, aimX, aimY);
  EXPECT_EQ(aimX.ToDouble(), 127);
  EXPECT_EQ(aimY.ToDouble(), 87);

  // A role-2 player more than 2 short of the middle is no candidate, however near; nor is a
  // back-zone role. Player 8 at (150, 120), 66 away, is the nearest left.
  Players[7].Role = 4;
  for (double x9 : {126.4999, 126.5}) {
    Place(9, x9, 84, 2);
    ChooseTarget(2, aimX, aimY);
    EXPECT_EQ(aimX.ToDouble(), x9 == 126.5 ? 126.5 : 150) << x9;
    EXPECT_EQ(aimY.ToDouble(), x9 == 126.5 ? 84 : 120) << x9;
  }
}

TEST_F(Behaviour, CentreSumsRoundAfterEveryCandidate) {
  struct Case {
    double xs[3];  // candidates 2, 3, 4 at y 40, 50, 60; a zero x leaves him out
    double aimX, aimY;
  };
  const Case cases[] = {
      // 100.5 gives 100, then 201.5 gives 202.
      {{100.5, 101.5, 0}, 101, 45},
      // 100, 200.5 gives 200, 300.5 gives 300: a single rounding at the end would give 302 / 3.
      {{100.5, 100.5, 100.5}, 100, 50},
  };
  for (const Case& c : cases) {
    Place(8, 200, 84, 2);
    for (int k = 0; k < 3; ++k) {
      Place(2 + k, c.xs[k], 40 + 10 * k, c.xs[k] != 0 ? 1 : 3);
    }
    Players[5].Role = 3;
    Number aimX = Number::Of(Fixed{});
    Number aimY = Number::Of(Fixed{});
    ChooseTarget(8, aimX, aimY);
    EXPECT_EQ(aimX.ToDouble(), c.aimX);
    EXPECT_EQ(aimY.ToDouble(), c.aimY);
  }
}

TEST_F(Behaviour, ChooseTargetWithoutCandidatesLeavesTheAimAlone) {
  for (int i : {7, 8, 9, 10}) {
    Players[i].Role = 4;
  }
  Number aimX = Number::Of(3.5);
  Number aimY = Number::Of(Fx(7));
  ChooseTarget(2, aimX, aimY);
  EXPECT_EQ(aimX.ToDouble(), 3.5);
  EXPECT_EQ(aimY.ToDouble(), 7);
}

TEST_F(Behaviour, HolderThrowsWithinHalfWidthOrAtTheCentreLine) {
  struct Case {
    double x, y;    // the holder, player 2
    double cx, cy;  // the only candidate, player 8; negative: none
    bool throws;
    std::int16_t tx, ty;  // the holder's target afterwards
  };
  const Case cases[] = {
      // Euclidean distance exactly HalfWidth (128), then just inside it.
      {88, 84, 216, 84, false, 216, 84},
      {88.0001, 84, 216, 84, true, 88, 84},
      // Far from the candidate: only the centre line (128.5 +- 2, strictly) forces the throw.
      {126.5, 10, 216, 160, false, 216, 160},
      {126.5001, 10, 216, 160, true, 127, 10},
      {130.5, 10, 216, 160, false, -1, -1},
      {130.4999, 10, 216, 160, true, -1, -1},
      // Nobody to aim at: no throw even at the centre line, and the target becomes (0, 0).
      {127.5, 10, -1, -1, false, 0, 0},
  };
  for (const Case& c : cases) {
    ParkPlayers();
    for (int i : {7, 8, 9, 10}) {
      Players[i].Role = 4;
    }
    if (c.cx >= 0) {
      Place(8, c.cx, c.cy, 2);
    }
    Place(2, c.x, c.y, 1);
    Hold(2);
    MovePlayers();
    EXPECT_EQ(BallHolder, c.throws ? 0 : 2) << c.x << ", " << c.y;
    EXPECT_EQ(LastThrower, c.throws ? 2 : 0) << c.x << ", " << c.y;
    // Outside his zone (past 128.5) the holder gets a random target instead.
    if (c.tx >= 0) {
      EXPECT_EQ(Players[2].TargetX, c.tx) << c.x << ", " << c.y;
      EXPECT_EQ(Players[2].TargetY, c.ty) << c.x << ", " << c.y;
    }
    LastThrower = 0;
  }
}

TEST_F(Behaviour, BallThrownInATurnHitsALaterPlayerWhereTheThrowerStood) {
  for (int i : {9, 10}) {
    Players[i].Role = 4;
  }
  Place(8, 216, 84, 2);
  // Player 7 is past the centre line, so no candidate, and 1 to the right of the thrower.
  Place(7, 89, 84, 2);
  Place(2, 88.0001, 84, 1);
  Hold(2);
  MovePlayers();
  EXPECT_EQ(LastThrower, 2);
  EXPECT_EQ(Players[7].Role, 4);
  EXPECT_EQ(BallTeam, 0);
  EXPECT_EQ(BallSpeed, 2.5);
}

TEST_F(Behaviour, DodgeRunsFiveBeyondAndFetchRunsToTheBall) {
  struct Case {
    double x, y;
    std::int16_t tx, ty;
  };
  // Away from a live team-2 ball at (100, 84).
  const Case cases[] = {{110, 84, 115, 84}, {90, 84, 85, 84}, {103, 80, 106, 76}};
  for (const Case& c : cases) {
    ParkPlayers();
    Place(3, c.x, c.y, 1);
    LooseBall(100, 84, 2);
    LastThrower = 8;
    MovePlayers();
    EXPECT_EQ(Players[3].TargetX, c.tx) << c.x << ", " << c.y;
    EXPECT_EQ(Players[3].TargetY, c.ty) << c.x << ", " << c.y;
  }

  // A dead ball in zone 1 draws every team-1 court player to its rounded position.
  ParkPlayers();
  LooseBall(100.5, 60.5, 0, 0, 0);
  MovePlayers();
  for (int i : {2, 3, 4, 5}) {
    EXPECT_EQ(Players[i].TargetX, 100) << i;
    EXPECT_EQ(Players[i].TargetY, 60) << i;
  }
  EXPECT_EQ(Players[8].TargetX, 175);
}

TEST_F(Behaviour, StepUsesOneDrawPerAxis) {
  // Heading 0 at speed 3: StepX = 1.5 * r1 + 1.5, StepY = 0 whatever r2 is.
  Place(2, 60, 84, 1);
  Players[2].TargetX = 80;
  Players[2].Speed = 3;
  LooseBall(230, 160, 0, 0, 0);
  {
    ScriptedPlatform platform(Then({0, 0, 0.5f, 0.75f}, 16));
    MovePlayers();
  }
  EXPECT_EQ(Players[2].StepX, Fx(2.25));
  EXPECT_EQ(Players[2].StepY, Fixed{});
  EXPECT_EQ(Players[2].X, Fx(62.25));
  EXPECT_EQ(Players[2].Y, Fx(84));
}

TEST_F(Behaviour, VerticalStepRefusedAtTheEdgeWhileXMoves) {
  Place(2, 60, 0.5, 1);
  Players[2].TargetX = 80;
  Players[2].TargetY = -10;
  Place(3, 60, 168.5, 1);
  Players[3].TargetX = 80;
  Players[3].TargetY = 180;
  Players[2].Speed = Players[3].Speed = 3;
  LooseBall(230, 160, 0, 0, 0);
  {
    ScriptedPlatform platform(Then({}, 20));
    MovePlayers();
  }
  for (int i : {2, 3}) {
    EXPECT_EQ(Players[i].Y, Fx(i == 2 ? 0.5 : 168.5)) << i;
    EXPECT_GT(Abs(Players[i].StepY), Fx(0.5)) << i;
    EXPECT_GT(Players[i].StepX, Fixed{}) << i;
    EXPECT_EQ(Players[i].X, Fx(60) + Players[i].StepX) << i;
  }
}

TEST_F(Behaviour, PlayerAtHisTargetStandsButStillTakesTheBall) {
  Place(2, 126.4, 84.3, 1);
  Players[2].StepX = Fx(1.2345);
  Players[2].StepY = Fx(-0.5);
  // Dead, across the centre line: not his zone, so his target stays, but within his reach.
  LooseBall(129, 84, 0, 0, 0);
  {
    // Players 1 and 3 to 10 step; player 2 draws nothing.
    ScriptedPlatform platform(Then({}, 18));
    MovePlayers();
    EXPECT_EQ(platform.pumps, 0);
  }
  EXPECT_EQ(Players[2].X, Fx(126.4));
  EXPECT_EQ(Players[2].Y, Fx(84.3));
  EXPECT_EQ(Players[2].StepX, Fx(1.2345));
  EXPECT_EQ(Players[2].StepY, Fx(-0.5));
  EXPECT_EQ(BallHolder, 2);
}

TEST_F(Behaviour, TurnDrawsRoamThenZoneReturnThenStep) {
  // Player 1 plays role 1 on the end line x = 40 (no zone), at his target, with his side's ball
  // live: he roams (0 rejected, then 64.25), is sent back into his zone (128, 84) and steps.
  Place(1, 40, 84, 1);
  Players[1].Speed = 3;
  LooseBall(230, 160, 1);
  LastThrower = 3;
  ScriptedPlatform platform(Then({0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f, 0}, 18));
  MovePlayers();
  EXPECT_EQ(platform.drawsAtPump, std::vector<std::size_t>{4});
  EXPECT_EQ(Players[1].TargetX, 128);
  EXPECT_EQ(Players[1].TargetY, 84);
  EXPECT_EQ(Players[1].StepX, Fx(2.25));
  EXPECT_EQ(Players[1].X, Fx(42.25));
}

TEST_F(Behaviour, RoamRetriesWithoutServingEventsAndTestsTheUnroundedPoint) {
  // 0.1 * 257 = 25.7 lies in zone 4; then x = 40.4 lies in zone 1 and rounds to 40.
  Place(1, 100, 84, 1);
  Players[1].Speed = 3;
  LooseBall(230, 160, 1);
  LastThrower = 3;
  ScriptedPlatform platform(Then({0.1f, 0.5f, 40.4f / 257.0f, 0.5f, 0, 0}, 18));
  MovePlayers();
  EXPECT_EQ(platform.pumps, 0);
  EXPECT_EQ(Players[1].TargetX, 40);
  EXPECT_EQ(Players[1].TargetY, 84);
  EXPECT_EQ(Players[1].StepX, Fx(-1.5));
  EXPECT_EQ(Players[1].X, Fx(98.5));
}

}  // namespace
}  // namespace quarrow
