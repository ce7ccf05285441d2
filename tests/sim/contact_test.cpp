#include "sim/contact.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "game/game_state.h"
#include "game/game_state_fixture.h"

namespace quarrow {
namespace {

using testing::Fx;

class Contact : public testing::GameStateTest {
 protected:
  void SetUp() override {
    GameStateTest::SetUp();
    ParkPlayers();
  }
};

TEST_F(Contact, BoxIsOpenAndWidenedAlongTheFlight) {
  struct Case {
    double dx, dy;
    std::int16_t team;  // 0: dead ball, else a live ball of team 2's role
    double angle;
    bool touches;
  };
  const Case cases[] = {
      {4, 0, 0, 0, false},           {3.9999, 0, 0, 0, true},
      {-4, 0, 0, 0, false},          {0, 4, 0, 0, false},
      {0, -3.9999, 0, 0, true},      {-5.9, 0, 2, 0, true},
      {6, 0, 2, 0, false},           {0, 4.1, 2, 0, false},
      {0, 3.9999, 2, 0, true},       {5.414, -5.414, 2, 0.7854, true},
      {5.4143, 0, 2, 0.7854, false}, {0, 5.9, 2, 1.5708, true},
  };
  for (const Case& c : cases) {
    ParkPlayers();
    Players[3].X = Fx(100);
    Players[3].Y = Fx(84);
    LooseBall(100 + c.dx, 84 + c.dy, c.team, c.angle);
    LastThrower = 8;
    CheckBallContact(3);
    // A touch shows as a pick-up of the dead ball or a hit that sends the player out.
    const bool touched = c.team == 0 ? BallHolder == 3 : Players[3].Role == 3;
    EXPECT_EQ(touched, c.touches) << c.dx << ", " << c.dy << " team " << c.team;
  }
}

TEST_F(Contact, PickUpDependsOnThePlayersZoneNotTheBalls) {
  // The ball lies across the middle line, in zone 2; the player stands in his own half.
  Players[3].X = Fx(126);
  Players[3].Y = Fx(84);
  LooseBall(129, 84, 0, 2.5, 1.25);
  LastThrower = 8;
  CheckBallContact(3);
  EXPECT_EQ(BallHolder, 3);
  EXPECT_EQ(BallTeam, 1);
  EXPECT_EQ(Players[3].HasBall, kTrue);
  EXPECT_EQ(BallX, Fx(129));
  EXPECT_EQ(BallAngle, 2.5);
  EXPECT_EQ(BallSpeed, 1.25);
  EXPECT_EQ(LastThrower, 8);

  // On the end line (no zone), or a hit player walking out: no pick-up.
  for (double x : {40.0, 100.0}) {
    ParkPlayers();
    Players[4].X = Fx(x);
    Players[4].Y = Fx(84);
    Players[4].Role = x == 40 ? 1 : 3;
    LooseBall(x + 1, 84, 0);
    CheckBallContact(4);
    EXPECT_EQ(BallHolder, 0) << x;
    EXPECT_EQ(Players[4].HasBall, kFalse) << x;
  }
}

TEST_F(Contact, LiveBallOfAnotherRole) {
  struct Case {
    std::int16_t player, role;  // the player touched and his role
    std::int16_t thrower, throwerRole;
    std::int16_t roleAfter, throwerRoleAfter, lives1, lives2;
  };
  const Case cases[] = {
      // A court player of team 2 hit by a team-1 court player.
      {8, 2, 3, 1, 4, 1, 3, 3},
      // A team-1 back-zone thrower hits his own team's court player, and comes back.
      {2, 1, 4, 3, 3, 1, 3, 3},
      // Team 2's back-zone thrower, not the back player, hits team 1's court player.
      {3, 1, 7, 4, 3, 2, 3, 3},
      // Either team's back player throws from the back zone and stays there.
      {2, 1, 6, 4, 3, 4, 3, 3},
      {7, 2, 1, 3, 4, 3, 3, 3},
      // A back-zone player stops the ball and nothing else changes.
      {5, 3, 9, 2, 3, 2, 3, 3},
      {1, 3, 9, 2, 3, 2, 3, 3},
      // A team-1 court throw stopped by team 1's own back zone.
      {4, 3, 2, 1, 3, 1, 3, 3},
      // A back player in court costs his team a life and stays.
      {1, 1, 9, 2, 1, 2, 2, 3},
      {6, 2, 5, 1, 2, 1, 3, 2},
  };
  for (const Case& c : cases) {
    ParkPlayers();
    Teams[1].Lives = Teams[2].Lives = 3;
    Players[c.player].Role = c.role;
    Players[c.player].X = Fx(100);
    Players[c.player].Y = Fx(84);
    Players[c.thrower].Role = c.throwerRole;
    LooseBall(101, 85, c.throwerRole, 0.3, 4.5);
    LastThrower = c.thrower;
    CheckBallContact(c.player);
    EXPECT_EQ(Players[c.player].Role, c.roleAfter) << "player " << c.player;
    EXPECT_EQ(Players[c.thrower].Role, c.throwerRoleAfter) << "thrower " << c.thrower;
    EXPECT_EQ(Teams[1].Lives, c.lives1) << "player " << c.player;
    EXPECT_EQ(Teams[2].Lives, c.lives2) << "player " << c.player;
    EXPECT_EQ(BallTeam, 0);
    EXPECT_EQ(BallSpeed, 2.25);
    EXPECT_EQ(BallAngle, 0.3);
    EXPECT_EQ(BallX, Fx(101));
  }
}

TEST_F(Contact, LiveBallPassesThroughItsOwnRole) {
  Players[3].X = Fx(100);
  Players[3].Y = Fx(84);
  LooseBall(100, 84, 1);
  LastThrower = 3;
  CheckBallContact(3);
  EXPECT_EQ(Players[3].Role, 1);
  EXPECT_EQ(BallTeam, 1);
  EXPECT_EQ(BallSpeed, 5);
}

TEST_F(Contact, HeldBallSuppressesEverything) {
  for (std::int16_t team : {0, 2}) {
    Players[3].X = Fx(100);
    Players[3].Y = Fx(84);
    LooseBall(100, 84, team);
    BallHolder = 8;
    CheckBallContact(3);
    EXPECT_EQ(BallHolder, 8);
    EXPECT_EQ(BallTeam, team);
    EXPECT_EQ(Players[3].Role, 1);
    EXPECT_EQ(Players[3].HasBall, kFalse);
  }
}

TEST_F(Contact, AfterAHitALaterPlayerPicksUpTheDeadBall) {
  Players[2].X = Fx(100);
  Players[3].X = Fx(103);
  Players[2].Y = Players[3].Y = Fx(84);
  LooseBall(101, 84, 2);
  LastThrower = 8;
  CheckBallContact(2);
  CheckBallContact(3);
  EXPECT_EQ(Players[2].Role, 3);
  EXPECT_EQ(Players[3].Role, 1);
  EXPECT_EQ(BallHolder, 3);
  EXPECT_EQ(BallTeam, 1);
}

TEST_F(Contact, BackPlayersJoinTheCourtWhenNobodyElseIsLeft) {
  struct Case {
    std::int16_t roles[11];
    std::int16_t back1, back2;
  };
  const Case cases[] = {
      {{0, 3, 1, 1, 1, 1, 4, 2, 2, 2, 2}, 3, 4}, {{0, 3, 3, 3, 3, 3, 4, 2, 4, 4, 4}, 1, 4},
      {{0, 1, 3, 3, 1, 3, 2, 4, 4, 4, 4}, 3, 2}, {{0, 1, 3, 3, 3, 3, 2, 4, 4, 4, 4}, 1, 2},
      {{0, 3, 1, 3, 3, 3, 2, 4, 4, 2, 4}, 3, 4},
  };
  // Player 6 holds the ball throughout; a change of his role leaves it with him, as it was.
  Players[6].HasBall = kTrue;
  BallHolder = 6;
  BallTeam = 4;
  for (const Case& c : cases) {
    for (int i = 1; i <= kPlayerCount; ++i) {
      Players[i].Role = c.roles[i];
    }
    UpdateBackPlayers();
    EXPECT_EQ(Players[1].Role, c.back1);
    EXPECT_EQ(Players[6].Role, c.back2);
    for (int i : {2, 3, 4, 5, 7, 8, 9, 10}) {
      EXPECT_EQ(Players[i].Role, c.roles[i]);
    }
    EXPECT_EQ(Players[6].HasBall, kTrue);
    EXPECT_EQ(BallTeam, 4);
  }
}

}  // namespace
}  // namespace quarrow
