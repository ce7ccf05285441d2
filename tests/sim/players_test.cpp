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

struct Placed {
  int i;
  double x, y;
  std::int16_t role;
};

class Behaviour : public testing::GameStateTest {
 protected:
  void SetUp() override {
    GameStateTest::SetUp();
    ParkPlayers();
  }
  static void Place(const Placed& p) {
    Players[p.i].X = Fx(p.x);
    Players[p.i].Y = Fx(p.y);
    Players[p.i].TargetX = ToInt16(Players[p.i].X);
    Players[p.i].TargetY = ToInt16(Players[p.i].Y);
    Players[p.i].Role = p.role;
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
  // Around the middle 128.5 of a 257 court.
  const Case cases[] = {{1, 130.5, kFalse},   {1, 130.5001, kTrue},  {2, 126.5, kFalse},
                        {2, 126.4999, kTrue}, {3, 130.5001, kFalse}, {4, 126.4999, kFalse}};
  for (const Case& c : cases) {
    Place({9, c.x, 84, c.role});
    EXPECT_EQ(PastCentreLine(9), c.past) << c.role << " at " << c.x;
  }
}

TEST_F(Behaviour, ChooseTargetAimsAtTheNearestBelowAThirdElseTheCentre) {
  struct Case {
    std::vector<Placed> placed;  // on top of the parked players, 7 to 10 at (160..205, 20)
    int thrower;
    double aimX, aimY;
  };
  const Case cases[] = {
      // Manhattan distance 85.9999: that player. Exactly 86 (ThirdWidth): the centre of 7 to 10.
      {{{2, 100, 84, 1}, {8, 150, 119.9999, 2}}, 2, 150, 119.9999},
      {{{2, 100, 84, 1}, {8, 150, 120, 2}}, 2, (160 + 150 + 190 + 205) / 4.0, 45},
      // Two at distance 10: the lower number.
      {{{2, 120, 84, 1}, {9, 130, 84, 2}, {7, 127, 87, 2}}, 2, 127, 87},
      // Past the centre line, however near, or in a back-zone role: no candidate.
      {{{2, 120, 84, 1}, {9, 126.4999, 84, 2}, {7, 127, 87, 4}, {8, 150, 120, 2}}, 2, 150, 120},
      {{{2, 120, 84, 1}, {9, 126.5, 84, 2}, {7, 127, 87, 4}}, 2, 126.5, 84},
      // Sums rounded after every candidate: 100.5 gives 100, then 201.5 gives 202.
      {{{8, 200, 84, 2}, {2, 100.5, 40, 1}, {3, 101.5, 50, 1}, {4, 0, 0, 3}, {5, 0, 0, 3}},
       8,
       101,
       45},
      // 100, 200.5 gives 200, 300.5 gives 300; one rounding at the end would give 302 / 3.
      {{{8, 200, 84, 2}, {2, 100.5, 40, 1}, {3, 100.5, 50, 1}, {4, 100.5, 60, 1}, {5, 0, 0, 3}},
       8,
       100,
       50},
      // From the end zones: team 1's back player aims at team 2, team 2's at team 1.
      {{{1, 237, 84, 3}, {8, 200, 90, 2}}, 1, 200, 90},
      {{{6, 20, 84, 4}, {2, 60, 84, 1}}, 6, 60, 84},
  };
  for (const Case& c : cases) {
    ParkPlayers();
    for (const Placed& p : c.placed) {
      Place(p);
    }
    Number aimX = Number::Of(Fixed{});
    Number aimY = Number::Of(Fixed{});
    ChooseTarget(static_cast<std::int16_t>(c.thrower), aimX, aimY);
    EXPECT_EQ(aimX.ToDouble(), c.aimX) << c.aimX;
    EXPECT_EQ(aimY.ToDouble(), c.aimY) << c.aimX;
  }
}

TEST_F(Behaviour, HolderThrowsWithinHalfWidthOrAtTheCentreLine) {
  struct Case {
    double x, y;    // the holder, player 2
    double cx, cy;  // the only candidate, player 8; negative: none
    bool throws;
    std::int16_t tx, ty;  // the holder's target afterwards; negative: not checked
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
      Place({8, c.cx, c.cy, 2});
    }
    Place({2, c.x, c.y, 1});
    Hold(2);
    LastThrower = 0;
    MovePlayers();
    SCOPED_TRACE(c.x);
    EXPECT_EQ(BallHolder, c.throws ? 0 : 2);
    EXPECT_EQ(LastThrower, c.throws ? 2 : 0);
    if (c.tx >= 0) {
      EXPECT_EQ(Players[2].TargetX, c.tx);
      EXPECT_EQ(Players[2].TargetY, c.ty);
    }
  }
}

TEST_F(Behaviour, BallThrownInATurnHitsALaterPlayerWhereTheThrowerStood) {
  Players[9].Role = Players[10].Role = 4;
  Place({8, 216, 84, 2});
  // Past the centre line, so no candidate, and 1 to the right of the thrower.
  Place({7, 89, 84, 2});
  Place({2, 88.0001, 84, 1});
  Hold(2);
  MovePlayers();
  EXPECT_EQ(LastThrower, 2);
  EXPECT_EQ(Players[7].Role, 4);
  EXPECT_EQ(BallTeam, 0);
  EXPECT_EQ(BallSpeed, 2.5);
}

TEST_F(Behaviour, DodgeRunsFiveBeyondAndFetchRunsToTheBall) {
  // {x, y} of the dodger and {tx, ty} expected, away from a live team-2 ball at (100, 84).
  const double cases[][4] = {{110, 84, 115, 84}, {90, 84, 85, 84}, {103, 80, 106, 76}};
  for (const auto& c : cases) {
    ParkPlayers();
    Place({3, c[0], c[1], 1});
    LooseBall(100, 84, 2);
    LastThrower = 8;
    MovePlayers();
    EXPECT_EQ(Players[3].TargetX, c[2]) << c[0] << ", " << c[1];
    EXPECT_EQ(Players[3].TargetY, c[3]) << c[0] << ", " << c[1];
  }

  // A dead ball in zone 1 draws every team-1 court player to its rounded position, and no other.
  ParkPlayers();
  LooseBall(100.5, 60.5, 0, 0, 0);
  MovePlayers();
  for (int i : {2, 3, 4, 5}) {
    EXPECT_EQ(Players[i].TargetX, 100) << i;
    EXPECT_EQ(Players[i].TargetY, 60) << i;
  }
  EXPECT_EQ(Players[8].TargetX, 175);
}

TEST_F(Behaviour, DeadBallDraggedDuringAPointSearchIsFetchedWhereItLies) {
  // Player 1 searches his zone from zone 2; the drag served there takes the ball from zone 1 to
  // zone 2, so team 2's court players fetch it and team 1's do not.
  Place({1, 200, 84, 3});
  LooseBall(100.5, 60.5, 0, 0, 0);
  ScriptedPlatform platform(Then({0.9f, 0.5f}, 20));
  platform.onPump = [] {
    BallX = Fx(150.5);
    BallY = Fx(70.5);
  };
  MovePlayers();
  EXPECT_EQ(platform.pumps, 1);
  EXPECT_EQ(Players[2].TargetX, 50);
  EXPECT_EQ(Players[8].TargetX, 150);
  EXPECT_EQ(Players[8].TargetY, 70);
}

TEST_F(Behaviour, VerticalStepRefusedAtTheEdgeWhileXMoves) {
  Place({2, 60, 0.5, 1});
  Place({3, 60, 168.5, 1});
  Players[2].TargetY = -10;
  Players[3].TargetY = 180;
  for (int i : {2, 3}) {
    Players[i].TargetX = 80;
    Players[i].Speed = 3;
  }
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

TEST_F(Behaviour, PlayerWhoseRoundedPositionIsHisTargetStandsButStillTakesTheBall) {
  struct Case {
    double x, y;
    std::int16_t tx, ty;
    bool arrived;
  };
  // whole() rounds half to even.
  const Case cases[] = {{126.4, 84.3, 126, 84, true},
                        {126.5, 84.5, 126, 84, true},
                        {125.5, 83.5, 126, 84, true},
                        {126.5, 84.5, 127, 84, false},
                        {127.5, 84.5, 127, 84, false}};
  for (const Case& c : cases) {
    ParkPlayers();
    Place({2, c.x, c.y, 1});
    Players[2].TargetX = c.tx;
    Players[2].TargetY = c.ty;
    Players[2].StepX = Fx(1.2345);
    Players[2].StepY = Fx(-0.5);
    // Dead, across the centre line: not his zone, so his target stays, but within his reach.
    LooseBall(129, 84, 0, 0, 0);
    {
      // Players 1 and 3 to 10 step; player 2 only when he has not arrived.
      ScriptedPlatform platform(Then({}, c.arrived ? 18 : 20));
      MovePlayers();
    }
    SCOPED_TRACE(c.x);
    EXPECT_EQ(BallHolder, 2);
    if (c.arrived) {
      EXPECT_EQ(Players[2].X, Fx(c.x));
      EXPECT_EQ(Players[2].Y, Fx(c.y));
      EXPECT_EQ(Players[2].StepX, Fx(1.2345));
      EXPECT_EQ(Players[2].StepY, Fx(-0.5));
    }
  }
}

TEST_F(Behaviour, TurnDrawsRoamThenZoneReturnThenStep) {
  // Player 1 plays role 1 on the end line x = 40 (no zone), at his target, with his side's ball
  // live: he roams (x 0 rejected, then 64.25), is sent back into his zone, (128, 84), serving
  // events first, and steps along heading 0 by 1.5 * r1 + 1.5, whatever r2 is.
  Place({1, 40, 84, 1});
  Players[1].Speed = 3;
  LooseBall(230, 160, 1);
  LastThrower = 3;
  ScriptedPlatform platform(Then({0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f, 0.75f}, 18));
  MovePlayers();
  EXPECT_EQ(platform.drawsAtPump, std::vector<std::size_t>{4});
  EXPECT_EQ(Players[1].TargetX, 128);
  EXPECT_EQ(Players[1].TargetY, 84);
  EXPECT_EQ(Players[1].StepX, Fx(2.25));
  EXPECT_EQ(Players[1].StepY, Fixed{});
  EXPECT_EQ(Players[1].X, Fx(42.25));
}

TEST_F(Behaviour, RoamRetriesWithoutServingEventsAndTestsTheUnroundedPoint) {
  // 0.1 * 257 = 25.7 lies in zone 4; then x = 40.4 lies in zone 1 and rounds to 40.
  Place({1, 100, 84, 1});
  Players[1].Speed = 3;
  LooseBall(230, 160, 1);
  LastThrower = 3;
  ScriptedPlatform platform(Then({0.1f, 0.5f, 40.4f / 257.0f, 0.5f, 0, 0}, 18));
  MovePlayers();
  EXPECT_EQ(platform.pumps, 0);
  EXPECT_EQ(Players[1].TargetX, 40);
  EXPECT_EQ(Players[1].TargetY, 84);
  EXPECT_EQ(Players[1].X, Fx(98.5));
}

TEST_F(Behaviour, RoamTargetIsTheDrawTimesTheWidthAsAFloat) {
  // In double the product is 65.4999962..., which would round to 65; as a float it is 65.5,
  // which rounds to the even 66.
  Place({1, 100, 84, 1});
  LooseBall(230, 160, 1);
  LastThrower = 3;
  const float draw = 4275905 * 0x1p-24f;
  ScriptedPlatform platform(Then({draw, 0.5f, 0, 0}, 18));
  MovePlayers();
  EXPECT_EQ(Players[1].TargetX, 66);
}

}  // namespace
}  // namespace quarrow
