#include "game/match_setup.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/scripted_platform.h"

namespace quarrow {
namespace {

using testing::Fx;
using testing::kTopDraw;
using testing::ScriptedPlatform;
using testing::Then;

using MatchSetup = testing::GameStateTest;

TEST_F(MatchSetup, DrawsXYAndSpeedForEachPlayerInTurn) {
  // Player i draws i/16 for X, 1/4 or 3/4 for Y and i/32 for Speed, so that any other order of the
  // thirty draws shows in the result.
  std::vector<float> draws;
  for (int i = 1; i <= kPlayerCount; ++i) {
    draws.insert(draws.end(), {i / 16.0f, i % 2 != 0 ? 0.25f : 0.75f, i / 32.0f});
  }
  ScriptedPlatform platform(draws, {257, 169});

  // Leftovers of a previous match: the ball is in flight and player 3 held it last.
  BallX = Fx(12.5);
  BallY = Fx(3.25);
  BallAngle = 2.3562;
  BallSpeed = 4.9;
  LastThrower = 3;
  BallHolder = 3;
  Players[3].HasBall = kTrue;
  Teams[1].Lives = 0;
  InitGame();

  struct Expected {
    std::int16_t role;
    double x, y;
    std::int16_t tx, ty;
    double speed;
  };
  // floor(i/16 * 88.5) + 40 for team 1, + 128.5 for team 2; Y is 42.25 or 126.75.
  const Expected expected[] = {
      {},
      {3, 237, 84.5, 237, 84, 2.0625},
      {1, 51, 126.75, 51, 127, 2.125},
      {1, 56, 42.25, 56, 42, 2.1875},
      {1, 62, 126.75, 62, 127, 2.25},
      {1, 67, 42.25, 67, 42, 2.3125},
      {4, 20, 84.5, 20, 84, 2.375},
      {2, 166.5, 42.25, 166, 42, 2.4375},
      {2, 172.5, 126.75, 172, 127, 2.5},
      {2, 177.5, 42.25, 178, 42, 2.5625},
      {2, 183.5, 126.75, 184, 127, 2.625},
  };
  for (int i = 1; i <= kPlayerCount; ++i) {
    const PlayerInfo& p = Players[i];
    const Expected& e = expected[i];
    EXPECT_EQ(p.Role, e.role) << "player " << i;
    EXPECT_EQ(p.X, Fx(e.x)) << "player " << i;
    EXPECT_EQ(p.Y, Fx(e.y)) << "player " << i;
    EXPECT_EQ(p.TargetX, e.tx) << "player " << i;
    EXPECT_EQ(p.TargetY, e.ty) << "player " << i;
    EXPECT_EQ(p.Speed, e.speed) << "player " << i;
    EXPECT_EQ(p.StepX, Fixed{}) << "player " << i;
    EXPECT_EQ(p.StepY, Fixed{}) << "player " << i;
    EXPECT_EQ(p.HasBall, i == 6 ? kTrue : kFalse) << "player " << i;
  }
  EXPECT_EQ(platform.reseeds, 1);
  EXPECT_EQ(platform.pumps, 0);
  EXPECT_EQ(HalfWidth, 128);
  EXPECT_EQ(ThirdWidth, 86);
  EXPECT_EQ(Teams[1].BackPlayer, 1);
  EXPECT_EQ(Teams[1].Lives, 3);
  EXPECT_EQ(Teams[2].BackPlayer, 6);
  EXPECT_EQ(Teams[2].Lives, 3);
  EXPECT_EQ(BallHolder, 6);
  EXPECT_EQ(BallTeam, 4);
  // The ball's own fields wait for the first ball step.
  EXPECT_EQ(BallX, Fx(12.5));
  EXPECT_EQ(BallY, Fx(3.25));
  EXPECT_EQ(BallAngle, 2.3562);
  EXPECT_EQ(BallSpeed, 4.9);
  EXPECT_EQ(LastThrower, 3);
}

TEST_F(MatchSetup, SmallestAndLargestDrawsReachTheEndsOfEachCourt) {
  struct Case {
    float draw;
    double team1X, team2X, y, speedAtLeast;
  };
  // The largest draw lifts Y to exactly the court's height once rounded to four decimals.
  const Case cases[] = {{0.0f, 40, 128.5, 0, 2}, {kTopDraw, 128, 216.5, 169, 3.9999998}};
  for (const Case& c : cases) {
    {
      ScriptedPlatform platform(std::vector<float>(30, c.draw), {257, 169});
      InitGame();
    }
    for (int i : {2, 3, 4, 5}) {
      EXPECT_EQ(Players[i].X, Fx(c.team1X)) << i;
    }
    for (int i : {7, 8, 9, 10}) {
      EXPECT_EQ(Players[i].X, Fx(c.team2X)) << i;
      EXPECT_EQ(Players[i].Y, Fx(c.y)) << i;
      EXPECT_GE(Players[i].Speed, c.speedAtLeast) << i;
      EXPECT_LT(Players[i].Speed, 4.0) << i;
    }
  }
}

TEST_F(MatchSetup, CourtSizeDecidesTheRanges) {
  // {width, height, HalfWidth, ThirdWidth, player 1's X, back players' Y}; halves round to even.
  const double cases[][6] = {
      {259, 170, 130, 86, 239, 85}, {256, 1, 128, 85, 236, 0.5}, {83, 6553, 42, 28, 63, 3276.5}};
  for (const auto& c : cases) {
    {
      ScriptedPlatform platform(std::vector<float>(30, 0.5f), {int(c[0]), int(c[1])});
      InitGame();
    }
    EXPECT_EQ(HalfWidth, c[2]) << c[0];
    EXPECT_EQ(ThirdWidth, c[3]) << c[0];
    EXPECT_EQ(Players[1].X, Fx(c[4])) << c[0];
    EXPECT_EQ(Players[6].Y, Fx(c[5])) << c[1];
  }
}

}  // namespace
}  // namespace quarrow
