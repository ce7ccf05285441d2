#include <gtest/gtest.h>

#include <cstdint>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/platform.h"
#include "sim/ball.h"
#include "sim/contact.h"
#include "sim/frame.h"

namespace quarrow {
namespace {

using testing::Fx;

class Counting : public testing::GameStateTest {
 protected:
  void SetUp() override {
    GameStateTest::SetUp();
    ParkPlayers();
  }
};

TEST_F(Counting, EachEventCountsOnceForTheTeamItHappensTo) {
  GiveBall(3);
  ThrowBall(Number::Of(200.0), Number::Of(84.0));
  EXPECT_EQ(CountValues(Counts), CountValues({.throws = 1}));
  Counts = MatchCounts{};
  LooseBall(66, 21, 0);
  CheckBallContact(3);
  EXPECT_EQ(CountValues(Counts), CountValues({.pickups = 1}));

  // A live ball at a player, thrown by a player of another role.
  struct Hit {
    std::int16_t player, role, thrower, throwerRole;
    MatchCounts expected;
  };
  const Hit hits[] = {
      {8, 2, 3, 1, {.hits = {0, 0, 1}}},       // a court player
      {6, 2, 3, 1, {.livesLost = {0, 0, 1}}},  // back players in court
      {1, 1, 8, 2, {.livesLost = {0, 1, 0}}},
      {8, 2, 4, 3, {.hits = {0, 0, 1}, .returns = {0, 1, 0}}},  // throwers come back
      {3, 1, 7, 4, {.hits = {0, 1, 0}, .returns = {0, 0, 1}}},
      {8, 2, 1, 3, {.hits = {0, 0, 1}}},  // but not a back player
      {5, 3, 8, 2, {}},                   // a stop in the end zone
  };
  for (const Hit& h : hits) {
    ParkPlayers();
    Counts = MatchCounts{};
    Players[h.player].Role = h.role;
    Players[h.thrower].Role = h.throwerRole;
    LooseBall(Players[h.player].X.ToDouble() + 1, 21, h.throwerRole, 0.3);
    LastThrower = h.thrower;
    CheckBallContact(h.player);
    EXPECT_EQ(CountValues(Counts), CountValues(h.expected)) << h.player << " by " << h.thrower;
  }

  // Team 1's back player joins the court once and stays; team 2's joins, leaves, joins again and
  // stays.
  ParkPlayers();
  Counts = MatchCounts{};
  for (int i : {2, 3, 4, 5, 7, 8, 9, 10}) {
    Players[i].Role = i < 6 ? 3 : 4;
  }
  UpdateBackPlayers();
  Players[9].Role = 2;
  UpdateBackPlayers();
  Players[9].Role = 4;
  UpdateBackPlayers();
  UpdateBackPlayers();
  EXPECT_EQ(CountValues(Counts), CountValues({.backEntries = {0, 1, 2}}));
}

TEST_F(Counting, WholeMatchesAddUpAndStartAfresh) {
  SeededPlatform platform(7);
  PlatformInstallation installed(platform);
  for (int match = 1; match <= 3; ++match) {
    const MatchResult result = PlayMatch(200000, [](std::int64_t) {});
    ASSERT_NE(result.winner, 0);
    // The loser lost his three lives one at a time; every pick-up follows a throw, and the ball
    // starts held.
    EXPECT_EQ(Counts.livesLost[3 - result.winner], 3) << match;
    EXPECT_LT(Counts.livesLost[result.winner], 3) << match;
    EXPECT_GE(Counts.throws - Counts.pickups, 0) << match;
    EXPECT_LE(Counts.throws - Counts.pickups, 1) << match;
  }
}

}  // namespace
}  // namespace quarrow
