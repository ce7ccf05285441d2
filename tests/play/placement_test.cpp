#include "play/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "fake_shell.h"
#include "game/game_state.h"
#include "play/announce.h"
#include "play/frame_loop.h"
#include "play/inputs.h"
#include "sim/frame.h"
#include "trace.h"

namespace quarrow {
namespace {

// Seed 11's first match through the shared loop, place() run once between frames with the ball
// dead; returns the trace.
std::string Play(testing::FakeShell& shell, const std::function<void()>& place = [] {}) {
  ResetGameState();
  std::string trace;
  bool placed = false;
  const std::function<void(int)> also = shell.afterFrame;
  shell.afterFrame = [&](int frame) {
    runner::AppendTraceRecord(trace, 1, frame);
    if (!placed && frame > 1 && BallTeam == 0 && BallHolder == 0) {
      place();
      placed = true;
    }
    if (also) {
      also(frame);
    }
  };
  std::vector<std::int64_t> stalled;
  EXPECT_THROW(Form_Load(shell, SeededRun(11, 1, kStandardCourt, stalled)), ProgramEnd);
  return trace;
}

TEST(PlacementTest, KeysPlaceTheBallAsADragToTheSamePointDoes) {
  testing::FakeShell keyShell, dragShell, noneShell;
  const std::string keys = Play(keyShell, [] {
    EXPECT_FALSE(PicMain_KeyDown(CourtKey::kPlace, false));  // no cursor yet: nothing placed
    EXPECT_TRUE(PicMain_KeyDown(CourtKey::kDown, false));    // brings the cursor up at the ball
    for (const CourtKey key : {CourtKey::kLeft, CourtKey::kLeft, CourtKey::kDown}) {
      PicMain_KeyDown(key, true);
    }
    PicMain_KeyDown(CourtKey::kRight, false);
    PicMain_KeyDown(CourtKey::kPlace, false);
    EXPECT_TRUE(PicMain_KeyDown(CourtKey::kLeave, false) && !Cursor().active);
  });
  const std::string drag = Play(dragShell, [] {
    PicMain_MouseMove(kLeftButton, 0, static_cast<float>(std::lround(BallX.ToDouble()) - 19),
                      static_cast<float>(std::lround(BallY.ToDouble()) + 10));
  });
  EXPECT_NE(drag, Play(noneShell));
  EXPECT_TRUE(keys == drag);  // not EXPECT_EQ: a mismatch would print megabytes
}

// One sentence for each life lost, a second apart at least, and the result at the end; in Fast
// mode only the result.
TEST(AnnounceTest, AMatchIsToldLifeByLifeAtTheNormalPaceAndOnlyItsResultWhenFast) {
  for (const bool fast : {false, true}) {
    testing::FakeShell shell;
    shell.stopAfterFrames = kStallFrames;
    std::vector<std::string> lost;
    std::int16_t lives[] = {0, 3, 3};
    shell.afterFrame = [&](int) {
      for (std::int16_t team = 1; team <= 2; ++team) {
        for (; lives[team] > std::max<std::int16_t>(Teams[team].Lives, 1); --lives[team]) {
          lost.push_back(LifeLostSentence(team, static_cast<std::int16_t>(lives[team] - 1)));
        }
      }
      FastMode = ToFlag(fast);
    };
    Play(shell);
    EXPECT_GE(lost.size(), 2u);
    lost.resize(fast ? 0 : lost.size());
    ASSERT_EQ(shell.said.size(), lost.size() + 1) << fast;
    for (std::size_t k = 0; k < lost.size(); ++k) {
      EXPECT_EQ(shell.said[k].second, lost[k]);
      EXPECT_TRUE(k == 0 || shell.said[k].first - shell.said[k - 1].first >= kAnnounceIntervalMs);
    }
    EXPECT_EQ(shell.said.back().second, "Team " + std::to_string(Winner()) + " won the match.");
  }
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
