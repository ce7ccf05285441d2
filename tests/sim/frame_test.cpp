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
#include "support/invariants.h"

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
      testing::Memory memory;
      std::string broken;
      std::int64_t brokenAt = -1;
      const MatchResult result = PlayMatch(20000, [&](std::int64_t frame) {
        if (!broken.empty()) {
          return;
        }
        broken = testing::Violation(
            memory, frame > 0 ? testing::Since::LastFrame : testing::Since::MatchStart);
        brokenAt = frame;
        memory = testing::Remember();
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
