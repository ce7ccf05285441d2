#include "rules/court.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/scripted_platform.h"
#include "sim/players.h"

namespace quarrow {
namespace {

using testing::Fx;
using testing::kTopDraw;
using testing::ScriptedPlatform;
using testing::ScriptRanOut;

using Court = testing::GameStateTest;

TEST_F(Court, ZoneBoundariesBelongToNoZone) {
  struct Case {
    std::int16_t width;
    double x;
    std::int16_t zone;
  };
  const Case cases[] = {
      {257, -0.0001, 0},  {257, 0, 0},        {257, 0.0001, 4},   {257, 39.9999, 4},
      {257, 40, 0},       {257, 40.0001, 1},  {257, 128, 1},      {257, 128.4, 1},
      {257, 128.4999, 1}, {257, 128.5, 0},    {257, 128.5001, 2}, {257, 128.6, 2},
      {257, 216.9999, 2}, {257, 217, 0},      {257, 217.0001, 3}, {257, 256.9999, 3},
      {257, 257, 0},      {257, 257.0001, 0}, {257, 1e9, 0},      {257, -1e9, 0},
      {256, 127.9999, 1}, {256, 128, 0},      {256, 128.0001, 2}, {256, 216, 0},
  };
  for (const Case& c : cases) {
    CourtWidth = c.width;
    for (double y : {-1000.0, 84.0, 1e6}) {
      EXPECT_EQ(ZoneOf(c.x, y), c.zone) << "x " << c.x << " on " << c.width;
      EXPECT_EQ(ZoneOf(Fx(c.x), Fx(y)), c.zone) << "fixed x " << c.x << " on " << c.width;
    }
  }
}

TEST_F(Court, InsideCourtIncludesBothEndsAndIgnoresX) {
  struct Case {
    double y;
    Flag inside;
  };
  const Case cases[] = {
      {0, kTrue}, {169, kTrue}, {84.5, kTrue}, {-0.0001, kFalse}, {169.0001, kFalse}};
  for (const Case& c : cases) {
    for (double x : {-1e6, 100.0, 1e6}) {
      EXPECT_EQ(InsideCourt(x, c.y), c.inside) << c.y;
      EXPECT_EQ(InsideCourt(Fx(x), Fx(c.y)), c.inside) << c.y;
    }
  }
}

TEST_F(Court, SameSidePairsRolesOfOneTeam) {
  // Rows: ball role 0 to 4; columns: player role 1 to 4.
  const bool table[5][4] = {
      {false, false, false, false}, {true, false, true, false}, {false, true, false, true},
      {true, false, true, false},   {false, true, false, true},
  };
  for (std::int16_t ball = 0; ball <= 4; ++ball) {
    for (std::int16_t role = 1; role <= 4; ++role) {
      EXPECT_EQ(SameSide(ball, role), table[ball][role - 1] ? kTrue : kFalse)
          << ball << " " << role;
    }
  }
  EXPECT_EQ(SameSide(0, 0), kTrue);
}

TEST_F(Court, DirectionWorkedValues) {
  struct Case {
    double dx, dy;
    std::int64_t count;
  };
  const Case cases[] = {
      {10, 0, 0},      {0, 0, 0},         {-10, 0, 31416}, {0, -10, 15708},
      {10, -10, 7854}, {-10, -10, 23562}, {0, 10, 47124},  {-10, 10, 39270},
      {10, 10, 54978}, {3, -4, 9273},     {100, 1, 62732}, {-0.0001, 0, 31416},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Direction(c.dx, c.dy, 0.0, 0.0).count, c.count) << c.dx << ", " << c.dy;
    // The same heading between exact positions away from the origin.
    EXPECT_EQ(Direction(Fx(50 + c.dx), Fx(60 + c.dy), Fx(50), Fx(60)).count, c.count);
  }
  // An int16 target and a fixed position: (13, 6) from (10, 10).
  EXPECT_EQ(Direction(std::int16_t{13}, std::int16_t{6}, Fx(10), Fx(10)).count, 9273);
}

TEST_F(Court, RandomPointInZoneRetriesUntilStrictlyInside) {
  struct Case {
    std::int16_t width;
    std::int16_t role;
    std::vector<float> xDraws;  // the last one is accepted
    std::int16_t x;
  };
  const Case cases[] = {
      // 0, then 40: both boundaries.
      {256, 4, {0.0f, 40 / 256.0f, 1 / 256.0f}, 1},
      // 40, then the middle 128.
      {256, 1, {40 / 256.0f, 0.5f, 127 / 256.0f}, 127},
      // The middle, then the far end line 216.
      {256, 2, {0.5f, 216 / 256.0f, 215 / 256.0f}, 215},
      {256, 3, {216 / 256.0f, kTopDraw}, 255},
      {257, 3, {kTopDraw}, 256},
      // 0.5 gives 128, just below the middle 128.5 of an odd court.
      {257, 2, {0.5f, 0.75f}, 192},
      {257, 1, {0.5f}, 128},
  };
  for (const Case& c : cases) {
    CourtWidth = c.width;
    std::vector<float> draws;
    for (float x : c.xDraws) {
      draws.insert(draws.end(), {x, 0.5f});
    }
    // The accepted attempt's y: the largest draw gives the last row, never the height.
    draws.back() = kTopDraw;
    std::int16_t x = -1;
    std::int16_t y = -1;
    {
      ScriptedPlatform platform(draws, {c.width, 169});
      RandomPointInZone(x, y, c.role);
      // Events are served before every attempt's two draws.
      std::vector<std::size_t> expectedPumps;
      for (std::size_t k = 0; k < c.xDraws.size(); ++k) {
        expectedPumps.push_back(2 * k);
      }
      EXPECT_EQ(platform.drawsAtPump, expectedPumps) << "role " << c.role;
    }
    EXPECT_EQ(x, c.x) << "role " << c.role << " on " << c.width;
    EXPECT_EQ(y, 168);
  }
}

// A script that runs out mid-search ends the test at once instead of drawing zeros for ever.
TEST_F(Court, RandomPointInZoneStopsWhenTheScriptRunsOut) {
  ScriptedPlatform platform({0.0f, 0.5f});
  std::int16_t x = 0;
  std::int16_t y = 0;
  EXPECT_THROW(RandomPointInZone(x, y, 1), ScriptRanOut);
}

// The scan of the draws in hand takes the same draws as the plain loop of tries, also where a try
// would reach past a block.
TEST_F(Court, FirstDrawInScansTheDrawsInHandAsTheLoopTakesThem) {
  const DrawRange narrow{0.9f, 0.93f};
  for (int taken = 0; taken < 1300; ++taken) {
    float found[2];
    float after[2];
    for (int scan = 0; scan < 2; ++scan) {
      SeededPlatform platform(7);
      PlatformInstallation installed(platform);
      for (int i = 0; i < taken; ++i) {
        SkipDraw();
      }
      found[scan] = scan == 0 ? FirstDrawIn(narrow) : FirstDrawIn(narrow, [] {});
      after[scan] = Draw();
    }
    ASSERT_EQ(found[0], found[1]) << taken;
    ASSERT_EQ(after[0], after[1]) << taken;
  }
}

// Every draw a twister gives, k * 2^-24: the kept ranges decide it as the products the searches
// form, followed by ZoneOf, would.
class DrawRanges : public testing::GameStateTest, public ::testing::WithParamInterface<int> {};

TEST_P(DrawRanges, DecideEveryDrawAsTheProductAndZoneOf) {
  const auto width = static_cast<std::int16_t>(GetParam());
  CourtWidth = width;
  DrawRange point[5];
  DrawRange roam[5];
  for (std::int16_t role = 1; role <= 4; ++role) {
    point[role] = ZoneDrawsNow(PointSearchDraws, PointSearchX, role);
    roam[role] = ZoneDrawsNow(RoamDraws, RoamX, role);
  }
  // The point search's x is a whole number below the width: its zone looked up once.
  std::vector<std::int16_t> zoneOfWhole;
  for (int x = 0; x < width; ++x) {
    zoneOfWhole.push_back(ZoneOf(static_cast<double>(x), 0.0));
  }
  const std::int16_t* zoneOfPointX = zoneOfWhole.data();
  for (std::uint32_t k = 0; k < (1u << 24); ++k) {
    const float draw = static_cast<float>(k) * 0x1p-24f;
    // floor(draw * width), exactly in integers.
    const std::int16_t pointZone = zoneOfPointX[(std::uint64_t{k} * width) >> 24];
    const std::int16_t roamZone = ZoneOf(draw * static_cast<float>(width), 0.0);
    for (std::int16_t role = 1; role <= 4; ++role) {
      if (point[role].Holds(draw) != (pointZone == role) ||
          roam[role].Holds(draw) != (roamZone == role)) {
        FAIL() << "role " << role << ", draw " << k << " * 2^-24";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CourtWidths, DrawRanges, ::testing::Values(83, 256, 257, 6553));

}  // namespace
}  // namespace quarrow
