#pragma once

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/platform.h"

namespace quarrow::testing {

inline Fixed Fx(double v) {
  return ToFixed(v);
}

// Every test starts from the program-start state on a 257 x 169 court with both teams set up as
// match setup leaves them, and leaves nothing behind for the next test.
class GameStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    SetPlatform(nullptr);
    CourtWidth = kStandardCourt.width;
    CourtHeight = kStandardCourt.height;
    HalfWidth = 128;
    ThirdWidth = 86;
    Teams[1] = TeamInfo{1, 3};
    Teams[2] = TeamInfo{6, 3};
  }
  void TearDown() override {
    ResetGameState();
    SetPlatform(nullptr);
  }

  // The starting roles, every player at the top of his home zone and walking 10 down, so that in a
  // frame's pass each of them takes exactly one step (two draws) whatever the ball does, as long as
  // the ball stays away from y = 20.
  static void ParkPlayers() {
    const double xs[] = {0, 237, 50, 65, 80, 95, 20, 160, 175, 190, 205};
    const std::int16_t roles[] = {0, 3, 1, 1, 1, 1, 4, 2, 2, 2, 2};
    for (int i = 1; i <= kPlayerCount; ++i) {
      Players[i] = PlayerInfo{};
      Players[i].X = Fx(xs[i]);
      Players[i].Y = Fx(20);
      Players[i].TargetX = static_cast<std::int16_t>(xs[i]);
      Players[i].TargetY = 30;
      Players[i].Role = roles[i];
      Players[i].Speed = 2;
    }
  }

  // A free ball.
  static void LooseBall(double x, double y, std::int16_t team, double angle = 0, double speed = 5) {
    BallHolder = 0;
    BallX = Fx(x);
    BallY = Fx(y);
    BallTeam = team;
    BallAngle = angle;
    BallSpeed = speed;
  }
};

}  // namespace quarrow::testing
