#include "play/inputs.h"

#include <gtest/gtest.h>

#include "game/game_state.h"

namespace quarrow {
namespace {

// The buttons, the interior offset and the cases that place nothing go through the real window in
// window_test.cpp; here, the conversion of what the pointer delivers.
TEST(InputsTest, DragPlacesADeadBallAsDeliveredEvenOffTheCourt) {
  ResetGameState();
  BallAngle = 1.2345;
  BallSpeed = 3.5;
  PicMain_MouseMove(kRightButton, 0, -3.25f, 1000.1f);
  EXPECT_EQ(BallX, Fixed::FromCount(-32500));
  // The float nearest 1000.1 (1000.09997...) rounds to the nearest ten-thousandth.
  EXPECT_EQ(BallY, Fixed::FromCount(10001000));
  EXPECT_EQ(BallSpeed, 0.0);
  EXPECT_EQ(BallAngle, 1.2345);
  PicMain_MouseMove(kLeftButton | kMiddleButton, 1, 0.00005f, 2.5f);
  EXPECT_EQ(BallX, Fixed::FromCount(0));  // 0.00005 as a float is just below the tie
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
