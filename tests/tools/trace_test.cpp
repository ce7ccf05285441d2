#include "trace.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "game/platform.h"
#include "sim/frame.h"
#include "text/number_text.h"

namespace quarrow::runner {
namespace {

using quarrow::testing::Fx;

TEST(Trace, FixedHasExactlyFourDecimals) {
  struct Case {
    std::int64_t count;
    const char* text;
  };
  const Case cases[] = {
      {-5000, "-0.5000"},
      {2370000, "237.0000"},
      {0, "0.0000"},
      {1, "0.0001"},
      {-1, "-0.0001"},
      {-10000, "-1.0000"},
      {123456789, "12345.6789"},
      {1285050, "128.5050"},
      {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
      {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
  };
  for (const Case& c : cases) {
    std::string out = "x";
    AppendFixed(out, Fixed::FromCount(c.count));
    EXPECT_EQ(out, std::string("x") + c.text);
  }
}

TEST(Trace, DoubleIsPrintedAsPercentSeventeenG) {
  const double values[] = {
      0.0,    -0.0,    4.9,    5 * 0.98,         5.0 / 3, 1.0 / 3, 0.1,  2.0625,
      6.2732, -3.1416, 1e-300, 5e-324,           1e300,   1e16,    1e17, 123456789012345678.0,
      2.5e-5, 0.0001,  100.0,  3.999999761581421};
  for (double v : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.17g", v);
    std::string out;
    AppendPrecise(out, v);
    EXPECT_EQ(out, expected);
  }
}

class TraceRecord : public quarrow::testing::GameStateTest {};

TEST_F(TraceRecord, KeysInOrderAndEveryPlayer) {
  BallX = Fx(-0.5);
  BallY = Fx(84.5);
  BallAngle = 3.1416;
  BallSpeed = 4.9;
  BallTeam = 2;
  BallHolder = 0;
  LastThrower = 7;
  Teams[1].Lives = 2;
  Players[1] = PlayerInfo{Fx(237), Fx(84.5), 237, 84, Fx(-1.25), Fx(0.0001), 3, 2.0625, kTrue};
  std::string out;
  AppendTraceRecord(out, 12, 34567);

  std::string expected =
      "{\"match\": 12, \"frame\": 34567, \"ball\": {\"x\": \"-0.5000\", \"y\": \"84.5000\", "
      "\"angle\": 3.1415999999999999, \"speed\": 4.9000000000000004, \"team\": 2, "
      "\"holder\": 0, \"last_thrower\": 7}, "
      "\"teams\": [{\"back\": 1, \"lives\": 2}, {\"back\": 6, \"lives\": 3}], "
      "\"players\": [{\"x\": \"237.0000\", \"y\": \"84.5000\", \"tx\": 237, \"ty\": 84, "
      "\"sx\": \"-1.2500\", \"sy\": \"0.0001\", \"role\": 3, \"speed\": 2.0625, \"has_ball\": -1}";
  for (int i = 2; i <= kPlayerCount; ++i) {
    expected +=
        ", {\"x\": \"0.0000\", \"y\": \"0.0000\", \"tx\": 0, \"ty\": 0, \"sx\": \"0.0000\", "
        "\"sy\": \"0.0000\", \"role\": 0, \"speed\": 0, \"has_ball\": 0}";
  }
  expected += "]}\n";
  EXPECT_EQ(out, expected);
}

// Plays a few matches under a seed, as the runner does, and returns their trace.
std::string TraceOfRun(std::uint32_t seed) {
  SeededPlatform platform(seed);
  PlatformInstallation installed(platform);
  ResetGameState();
  std::string out;
  for (int match = 1; match <= 3; ++match) {
    PlayMatch(5000, [&](std::int64_t frame) { AppendTraceRecord(out, match, frame); });
  }
  return out;
}

TEST_F(TraceRecord, SameSeedSameTrace) {
  const std::string first = TraceOfRun(11);
  EXPECT_EQ(first, TraceOfRun(11));
  EXPECT_NE(first, TraceOfRun(12));
  EXPECT_EQ(first.rfind("{\"match\": 1, \"frame\": 0, ", 0), 0u);
}

}  // namespace
}  // namespace quarrow::runner
