#include "render/draw_court.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/platform.h"
#include "render/picture.h"

namespace quarrow {
namespace {

// Remembers every call, so that a picture can be compared item by item.
struct Call {
  char kind;  // 'C'lear, 'L'ine, 'R'ectangle, 'O' circle
  PointF a;
  PointF b;
  Rgb colour;
  float radius = 0.0f;
  friend bool operator==(const Call&, const Call&) = default;
};

class RecordingSurface final : public Surface {
 public:
  void Clear() override { calls.push_back({'C', {}, {}, {}, 0.0f}); }
  void Line(PointF from, PointF to) override { calls.push_back({'L', from, to, {}, 0.0f}); }
  void Rectangle(PointF corner, PointF opposite, Rgb colour) override {
    calls.push_back({'R', corner, opposite, colour, 0.0f});
  }
  void Circle(PointF centre, float radius) override {
    calls.push_back({'O', centre, {}, {}, radius});
  }
  std::vector<Call> calls;
};

class DrawCourtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    CourtWidth = kStandardCourt.width;
    CourtHeight = kStandardCourt.height;
    for (int i = 1; i <= kPlayerCount; ++i) {
      Players[i].Role = i <= 5 ? 1 : 2;
      Players[i].X = Fixed::FromInt(50 + 10 * i);
      Players[i].Y = Fixed::FromInt(20 + i);
    }
    Teams[1].BackPlayer = 1;
    Teams[2].BackPlayer = 6;
  }

  std::vector<Call> Draw() {
    Picture picture;
    DrawCourt(picture);
    RecordingSurface surface;
    picture.Replay(surface);
    return surface.calls;
  }
};

TEST_F(DrawCourtTest, MarkingsOfAnOddSizedCourtLieOnHalfPixels) {
  const std::vector<Call> calls = Draw();
  ASSERT_EQ(calls.size(), 16u);
  EXPECT_EQ(calls[0].kind, 'C');
  EXPECT_EQ(calls[1], (Call{'L', {128.5f, 0.0f}, {128.5f, 169.0f}, {}, 0.0f}));
  EXPECT_EQ(calls[2], (Call{'O', {128.5f, 84.5f}, {}, {}, 10.0f}));
  EXPECT_EQ(calls[3], (Call{'R', {0.0f, 0.0f}, {40.0f, 169.0f}, kEndZoneGreen, 0.0f}));
  EXPECT_EQ(calls[4], (Call{'R', {217.0f, 0.0f}, {257.0f, 169.0f}, kEndZoneGreen, 0.0f}));
  EXPECT_EQ(calls[5].kind, 'O');
  EXPECT_EQ(calls[5].radius, 4.0f);
}

TEST_F(DrawCourtTest, BallIsDrawnWhereverItIsAndBeforeThePlayers) {
  BallX = Fixed::FromCount(-123456);  // off the court: drawn there, the surface clips
  BallY = Fixed::FromCount(1000001);
  BallHolder = 3;
  BallTeam = 1;
  const std::vector<Call> calls = Draw();
  EXPECT_EQ(calls[5], (Call{'O', {-12.3456f, 100.0001f}, {}, {}, 4.0f}));
  for (std::size_t i = 6; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].kind, 'R');
  }
}

TEST_F(DrawCourtTest, PlayersInIndexOrderColouredByTeamWithBackPlayersWhite) {
  Players[2].Role = 3;  // in the end zone: still team 1
  Players[7].Role = 4;
  Teams[2].BackPlayer = 9;  // a back player is white in any role
  const std::vector<Call> calls = Draw();
  const Rgb expected[] = {kBackPlayerWhite, kTeam1Blue, kTeam1Blue, kTeam1Blue,       kTeam1Blue,
                          kTeam2Red,        kTeam2Red,  kTeam2Red,  kBackPlayerWhite, kTeam2Red};
  for (int i = 1; i <= kPlayerCount; ++i) {
    const Call& box = calls[5 + static_cast<std::size_t>(i)];
    EXPECT_EQ(box.colour, expected[i - 1]) << "player " << i;
    EXPECT_EQ(box.a, (PointF{static_cast<float>(48 + 10 * i), static_cast<float>(18 + i)}));
  }
}

TEST_F(DrawCourtTest, PlayerBoxIsFormedInFixedBeforeConversion) {
  // Near 1024 the float spacing halves: converting first and subtracting in float would land on
  // 1023.000244 instead of the float nearest to 1023.0003.
  Players[4].X = Fixed::FromCount(10250003);
  Players[4].Y = Fixed::FromCount(-7);
  const Call box = Draw()[9];
  EXPECT_EQ(box.a.x, static_cast<float>(1023.0003));
  EXPECT_EQ(box.b.x, static_cast<float>(1028.0003));
  EXPECT_EQ(box.a.y, static_cast<float>(-2.0007));
  EXPECT_EQ(box.b.y, static_cast<float>(2.9993));
  EXPECT_NE(box.a.x, static_cast<float>(1025.0003) - 2.0f);
}

TEST_F(DrawCourtTest, EvenSizedCourtAndNarrowRightZone) {
  CourtWidth = 30;  // W - 40 below zero still comes out as a plain coordinate
  CourtHeight = 100;
  const std::vector<Call> calls = Draw();
  EXPECT_EQ(calls[1].a, (PointF{15.0f, 0.0f}));
  EXPECT_EQ(calls[2].a, (PointF{15.0f, 50.0f}));
  EXPECT_EQ(calls[4].a, (PointF{-10.0f, 0.0f}));
}

TEST_F(DrawCourtTest, PictureReplaysTheLatestFrameOnly) {
  Picture picture;
  DrawCourt(picture);
  Players[10].X = Fixed::FromInt(3);
  DrawCourt(picture);
  RecordingSurface replayed;
  picture.Replay(replayed);
  EXPECT_EQ(replayed.calls, Draw());
}

TEST(PictureTest, KeepsWhatFitsAndNoMore) {
  Picture picture;
  RecordingSurface direct;
  for (std::size_t i = 0; i < Picture::kCapacity + 3; ++i) {
    const PointF at{static_cast<float>(i), 1.0f};
    picture.Circle(at, 2.0f);
    if (i < Picture::kCapacity) {
      direct.Circle(at, 2.0f);
    }
  }
  RecordingSurface replayed;
  picture.Replay(replayed);
  EXPECT_EQ(replayed.calls, direct.calls);
}

}  // namespace
}  // namespace quarrow
