#include "play/inputs.h"

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "rules/court.h"
#include "sim/frame.h"

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

}  // namespace
}  // namespace quarrow
