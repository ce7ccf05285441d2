#include "sim/frame.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/platform.h"
#include "rules/court.h"

namespace quarrow {
namespace {

using Frame = testing::GameStateTest;

TEST_F(Frame, WinnerIsTheTeamThatStillHasLives) {
  struct Case {
    std::int16_t lives1, lives2, winner;
  };
  const Case cases[] = {{3, 3, 0},
                        {1, 1, 0},
                        {0, 2, 2},
                        {2, 0, 1},
                        {-1, 3, 2},
                        {3, -2, 1},
                        // Both out in the same frame: team 1 is named.
                        {0, 0, 1}};
  for (const Case& c : cases) {
    Teams[1].Lives = c.lives1;
    Teams[2].Lives = c.lives2;
    EXPECT_EQ(Winner(), c.winner) << c.lives1 << " " << c.lives2;
  }
}

// What one frame may carry over to the next within a match.
struct Memory {
  std::array<double, kPlayerCount + 1> speed{};
  std::int16_t lives[3] = {};
  std::int16_t holder = 0;
  std::int16_t ballTeam = 0;
};

bool HasFourDecimals(double angle) {
  return ToFixed(angle).ToDouble() == angle;
}

// The rules every state between frames keeps; the first broken one, or empty.
std::string Violation(const Memory& before, std::int64_t frame) {
  std::ostringstream out;
  const double w = CourtWidth;
  const double h = CourtHeight;
  int holders = 0;
  int inCourt[3] = {};
  for (int i = 1; i <= kPlayerCount; ++i) {
    const PlayerInfo& p = Players[i];
    const int team = i <= kPlayerCount / 2 ? 1 : 2;
    if (p.Role != team && p.Role != team + 2) {
      out << "player " << i << " of team " << team << " has role " << p.Role;
    } else if (!(p.Y.ToDouble() >= 0 && p.Y.ToDouble() <= h)) {
      out << "player " << i << " at y " << p.Y.ToDouble();
    } else if (!(p.X.ToDouble() >= -4 && p.X.ToDouble() <= w + 4)) {
      out << "player " << i << " at x " << p.X.ToDouble();
    } else if (frame > 0 && p.Speed != before.speed[i]) {
      out << "player " << i << " changed speed";
    } else if (!(p.Speed >= 2 && p.Speed < 4) || Abs(p.StepX).ToDouble() > p.Speed + 0.00005 ||
               Abs(p.StepY).ToDouble() > p.Speed + 0.00005) {
      // A step is below Speed before it is rounded to four decimals.
      out << "player " << i << " speed " << p.Speed << " or step out of range";
    }
    holders += p.HasBall != kFalse;
    inCourt[team] += p.Role == team && i != Teams[team].BackPlayer;
  }
  for (int t = 1; t <= 2; ++t) {
    const std::int16_t lives = Teams[t].Lives;
    const PlayerInfo& back = Players[Teams[t].BackPlayer];
    if (Teams[t].BackPlayer != (t == 1 ? 1 : 6)) {
      out << "team " << t << " changed its back player";
    } else if (lives < 0 || lives > 3 || (frame > 0 && lives > before.lives[t])) {
      out << "team " << t << " lives " << before.lives[t] << " -> " << lives;
    } else if (frame > 0 && (back.Role == t) != (inCourt[t] == 0)) {
      out << "team " << t << " back player has role " << back.Role << " with " << inCourt[t]
          << " others in court";
    }
  }
  if (frame > 0 && before.lives[1] + before.lives[2] - Teams[1].Lives - Teams[2].Lives > 1) {
    out << "more than one life lost in a frame";
  }
  if (BallHolder != 0) {
    const PlayerInfo& p = Players[BallHolder];
    const bool back = BallHolder == Teams[1].BackPlayer || BallHolder == Teams[2].BackPlayer;
    if (holders != 1 || p.HasBall == kFalse) {
      out << "holder " << BallHolder << " but " << holders << " players have the ball";
    } else if (BallTeam < 1 || BallTeam > 4 || (!back && BallTeam != p.Role) ||
               SameSide(BallTeam, p.Role) == kFalse) {
      out << "holder " << BallHolder << " of role " << p.Role << " with ball team " << BallTeam;
    } else if (frame > 0 && before.holder == BallHolder && before.ballTeam != BallTeam) {
      out << "ball team changed in the hands of " << BallHolder;
    }
  } else if (holders != 0) {
    out << "nobody holds the ball but " << holders << " players have it";
  } else if (BallTeam != 0) {
    const std::int16_t t = LastThrower;
    const bool back = t == Teams[1].BackPlayer || t == Teams[2].BackPlayer;
    if (t < 1 || t > kPlayerCount || (!back && Players[t].Role != BallTeam)) {
      out << "live ball of team " << BallTeam << " from thrower " << t;
    }
  }
  // Setup leaves the ball where the previous match left it, on whatever court that was.
  if (frame > 0 && !(BallY.ToDouble() >= 0 && BallY.ToDouble() <= h && BallX.ToDouble() >= -4 &&
                     BallX.ToDouble() <= w + 4)) {
    out << "ball at " << BallX.ToDouble() << ", " << BallY.ToDouble();
  } else if (!(BallSpeed >= 0 && BallSpeed <= 5)) {
    out << "ball speed " << BallSpeed;
  } else if (!(BallAngle >= 0 && BallAngle <= 6.2832 && HasFourDecimals(BallAngle))) {
    out << "ball angle " << BallAngle;
  }
  return out.str();
}

TEST_F(Frame, SoakMatchesKeepTheStateConsistentEveryFrame) {
  struct Run {
    std::uint32_t seed;
    CourtSize size;
    int matches;
  };
  const Run runs[] = {{1, {257, 169}, 60},
                      {2, {257, 169}, 60},
                      {3, {256, 100}, 40},
                      {4, {83, 40}, 30},
                      {5, {400, 1}, 10}};
  for (const Run& run : runs) {
    SeededPlatform platform(run.seed, run.size);
    PlatformInstallation installed(platform);
    int wins[3] = {};
    for (int match = 1; match <= run.matches; ++match) {
      Memory memory;
      std::string broken;
      std::int64_t brokenAt = -1;
      const MatchResult result = PlayMatch(20000, [&](std::int64_t frame) {
        if (!broken.empty()) {
          return;
        }
        broken = Violation(memory, frame);
        brokenAt = frame;
        for (int i = 1; i <= kPlayerCount; ++i) {
          memory.speed[i] = Players[i].Speed;
        }
        memory.lives[1] = Teams[1].Lives;
        memory.lives[2] = Teams[2].Lives;
        memory.holder = BallHolder;
        memory.ballTeam = BallTeam;
      });
      ASSERT_EQ(broken, "") << "seed " << run.seed << ", match " << match << ", frame " << brokenAt;
      if (result.winner != 0) {
        EXPECT_LE(Teams[result.winner == 1 ? 2 : 1].Lives, 0);
        ++wins[result.winner];
      }
    }
    // Matches get decided, and not always the same way.
    EXPECT_GT(wins[1], 0) << "seed " << run.seed;
    EXPECT_GT(wins[2], 0) << "seed " << run.seed;
  }
}

}  // namespace
}  // namespace quarrow
