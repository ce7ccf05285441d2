#include "app/inputs.h"

#include <gtest/gtest.h>

#include "game/game_state.h"

namespace quarrow {
namespace {

class InputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    BallAngle = 1.2345;
    BallSpeed = 3.5;
    BallX = Fixed::FromInt(7);
    BallY = Fixed::FromInt(8);
  }
  void TearDown() override { ResetGameState(); }
};

TEST_F(InputsTest, ButtonsToggleOnlyTheirOwnSwitch) {
  Command1_Click();
  EXPECT_EQ(MaxMode, kTrue);
  EXPECT_EQ(FastMode, kFalse);
  Command2_Click();
  Command1_Click();
  EXPECT_EQ(MaxMode, kFalse);
  EXPECT_EQ(FastMode, kTrue);
  EXPECT_EQ(BallSpeed, 3.5);
}

TEST_F(InputsTest, DragPlacesADeadBallAsDeliveredEvenOffTheCourt) {
  PicMain_MouseMove(kRightButton, 0, -3.25f, 1000.1f);
  EXPECT_EQ(BallX, Fixed::FromCount(-32500));
  // The float nearest 1000.1 (1000.09997...) rounds to the nearest ten-thousandth.
  EXPECT_EQ(BallY, Fixed::FromCount(10001000));
  EXPECT_EQ(BallSpeed, 0.0);
  EXPECT_EQ(BallAngle, 1.2345);
  PicMain_MouseMove(kLeftButton | kMiddleButton, 1, 0.00005f, 2.5f);
  EXPECT_EQ(BallX, Fixed::FromCount(0));  // 0.00005 as a float is just below the tie
}

TEST_F(InputsTest, NoButtonOrABallInPlayPlacesNothing) {
  PicMain_MouseMove(0, 1, 50.0f, 60.0f);
  EXPECT_EQ(BallX, Fixed::FromInt(7));
  BallTeam = 2;  // held or live
  PicMain_MouseMove(kLeftButton, 0, 50.0f, 60.0f);
  EXPECT_EQ(BallX, Fixed::FromInt(7));
  EXPECT_EQ(BallY, Fixed::FromInt(8));
  EXPECT_EQ(BallSpeed, 3.5);
}

}  // namespace
}  // namespace quarrow
