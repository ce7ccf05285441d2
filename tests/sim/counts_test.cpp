#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/platform.h"
#include "match_stats.h"
#include "sim/ball.h"
#include "sim/contact.h"
#include "sim/frame.h"

namespace quarrow {
namespace {

using sim::CountValues;
using testing::Fx;

class Counting : public testing::GameStateTest {};

TEST_F(Counting, EachEventCountsOnceForTheTeamItHappensTo) {
  // A live ball at player i, thrown by a player of the given role.
  const auto hitBy = [](std::int16_t i, std::int16_t thrower, std::int16_t throwerRole) {
    Players[thrower].Role = throwerRole;
    LooseBall(Players[i].X.ToDouble() + 1, 21, throwerRole, 0.3);
    LastThrower = thrower;
    CheckBallContact(i);
  };
  struct Case {
    const char* what;
    std::function<void()> act;
    MatchCounts expected;
  };
  const Case cases[] = {
      {"a throw",
       [] {
         GiveBall(3);
         ThrowBall(Number::Of(200.0), Number::Of(84.0));
       },
       {.throws = 1}},
      {"a throw without a holder", [] { ThrowBall(Number::Of(200.0), Number::Of(84.0)); }, {}},
      {"a pick-up",
       [] {
         LooseBall(66, 21, 0);
         CheckBallContact(3);
       },
       {.pickups = 1}},
      {"a dead ball beside a player outside his zone",
       [] {
         Players[3].Role = 3;
         LooseBall(66, 21, 0);
         CheckBallContact(3);
       },
       {}},
      {"a team-2 court player hit", [&] { hitBy(8, 3, 1); }, {.hits = {0, 0, 1}}},
      {"team 2's back player hit in court",
       [&] {
         Players[6].Role = 2;
         hitBy(6, 3, 1);
       },
       {.livesLost = {0, 0, 1}}},
      {"team 1's back player hit in court",
       [&] {
         Players[1].Role = 1;
         hitBy(1, 8, 2);
       },
       {.livesLost = {0, 1, 0}}},
      {"a team-1 thrower returns", [&] { hitBy(8, 4, 3); }, {.hits = {0, 0, 1}, .returns = {0, 1}}},
      {"a team-2 thrower returns",
       [&] { hitBy(3, 7, 4); },
       {.hits = {0, 1, 0}, .returns = {0, 0, 1}}},
      {"the back player throws from the end zone", [&] { hitBy(8, 1, 3); }, {.hits = {0, 0, 1}}},
      {"a back-zone player stops the ball",
       [&] {
         Players[5].Role = 3;
         hitBy(5, 8, 2);
       },
       {}},
      {"team 1's back player enters, and stays two frames",
       [] {
         for (int i = 2; i <= 5; ++i) {
           Players[i].Role = 3;
         }
         UpdateBackPlayers();
         UpdateBackPlayers();
       },
       {.backEntries = {0, 1, 0}}},
      {"team 2's back player enters twice",
       [] {
         for (int i = 7; i <= 10; ++i) {
           Players[i].Role = 4;
         }
         UpdateBackPlayers();
         Players[9].Role = 2;
         UpdateBackPlayers();
         Players[9].Role = 4;
         UpdateBackPlayers();
       },
       {.backEntries = {0, 0, 2}}},
  };
  for (const Case& c : cases) {
    ParkPlayers();
    Teams[1].Lives = Teams[2].Lives = 3;
    BallHolder = 0;
    Counts = MatchCounts{};
    c.act();
    EXPECT_EQ(CountValues(Counts), CountValues(c.expected)) << c.what;
  }
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
