#include "play/inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fake_shell.h"
#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "play/announce.h"
#include "play/frame_loop.h"
#include "play/placement.h"
#include "rules/court.h"
#include "sim/frame.h"
#include "trace.h"

namespace quarrow {
namespace {

// The buttons, the interior offset and the cases that place nothing go through the real window in
// window_test.cpp; here, the conversion of what the pointer delivers.
TEST(InputsTest, DragPlacesADeadBallAtRestInsideAZone) {
  ResetGameState();
  CourtWidth = kStandardCourt.width;
  BallAngle = 1.2345;
  BallSpeed = 3.5;
  PicMain_MouseMove(kRightButton, 0, 100.25f, 1000.1f);
  EXPECT_EQ(BallX, Fixed::FromCount(1002500));
  // The float nearest 1000.1 (1000.09997...) rounds to the nearest ten-thousandth, off the court.
  EXPECT_EQ(BallY, Fixed::FromCount(10001000));
  EXPECT_EQ(BallSpeed, 0.0);
  EXPECT_EQ(BallAngle, 1.2345);
  PicMain_MouseMove(kLeftButton | kMiddleButton, 1, 60.0f, 0.00005f);
  EXPECT_EQ(BallY, Fixed::FromCount(0));  // 0.00005 as a float is just below the tie
  // Off the court and on a boundary: the nearest point a zone claims, the lower of two.
  const float xs[] = {-3.25f, 0.0f, 40.0f, 128.5f, 217.0f, 257.0f, 300.0f};
  const std::int64_t rests[] = {1, 1, 399999, 1284999, 2169999, 2569999, 2569999};
  for (int k = 0; k < 7; ++k) {
    PicMain_MouseMove(kLeftButton, 0, xs[k], 5.0f);
    EXPECT_EQ(BallX, Fixed::FromCount(rests[k])) << xs[k];
  }
  ResetGameState();
}

// A ball laid where no zone claims it would lie there for ever with every player standing still;
// wherever it is laid, somebody fetches it and the match goes on to its end.
TEST(InputsTest, ABallPlacedAnywhereIsFetchedAndTheMatchEnds) {
  struct Case {
    int width;
    float x, y;
  };
  const Case cases[] = {{257, 0, 50},   {257, 40, 80},   {256, 128, 100}, {257, 217, 30},
                        {257, 257, 60}, {257, -30, -20}, {256, 300, 400}};
  for (const Case& c : cases) {
    SeededPlatform platform(5, CourtSize{c.width, kStandardCourt.height});
    PlatformInstallation installed(platform);
    InitGame();
    std::int64_t frames = 0;
    const auto playUntil = [&frames](std::int64_t most, auto done) {
      for (const std::int64_t end = frames + most; !done() && frames < end; ++frames) {
        AdvanceFrame();
      }
      return done();
    };
    ASSERT_TRUE(playUntil(kStallFrames, [] { return BallTeam == 0 && BallHolder == 0; }));
    PicMain_MouseMove(kLeftButton, 0, c.x, c.y);
    EXPECT_TRUE(playUntil(2000, [] { return BallHolder != 0; })) << c.x << " on " << c.width;
    EXPECT_TRUE(playUntil(kStallFrames, [] { return Winner() != 0; })) << c.x << " on " << c.width;
  }
  ResetGameState();
}

// Seed 11's first match through the shared loop, place() run once between frames with the ball
// dead; returns the trace.
std::string Play(testing::FakeShell& shell, const std::function<void()>& place) {
  ResetGameState();
  std::string trace;
  bool placed = false;
  shell.afterFrame = [&, also = shell.afterFrame](int frame) {
    runner::AppendTraceRecord(trace, 1, frame);
    if (!placed && frame > 1 && BallTeam == 0 && BallHolder == 0 && (placed = true)) {
      place();
    }
    also(frame);
  };
  std::vector<std::int64_t> stalled;
  EXPECT_THROW(Form_Load(shell, SeededRun(11, 1, kStandardCourt, stalled)), ProgramEnd);
  return trace;
}

TEST(PlacementTest, KeysPlaceTheBallAsADragToTheSamePointDoes) {
  testing::FakeShell keyShell, dragShell, noneShell;
  keyShell.afterFrame = dragShell.afterFrame = noneShell.afterFrame = [](int) {};
  const std::string keys = Play(keyShell, [] {
    // Nothing placed before the first arrow brings the cursor up at the ball; Shift moves ten.
    EXPECT_FALSE(PicMain_KeyDown(CourtKey::kPlace, false));
    for (const CourtKey key :
         {CourtKey::kDown, CourtKey::kLeft, CourtKey::kLeft, CourtKey::kDown}) {
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
  EXPECT_TRUE(keys == drag && drag != Play(noneShell, [] {}));  // a mismatch would print megabytes
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
    Play(shell, [] {});
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
