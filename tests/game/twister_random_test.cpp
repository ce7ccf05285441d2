#include "game/twister_random.h"

#include "game/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace quarrow {
namespace {

// Against the standard engine's top 24 bits: long runs over many blocks, skips falling on every
// place in a block, and reseeds in the middle of one, the default seed first.
TEST(TwisterRandom, DrawsFollowTheStandardEngine) {
  TwisterRandom random;
  std::mt19937 engine(0);
  const auto drawAlong = [&](std::uint32_t seed) {
    for (int i = 0; i < 200'000; ++i) {
      if (i % 5 == 3) {
        random.Skip();
        engine();
        continue;
      }
      const float expected = static_cast<float>(engine() >> 8) * 0x1p-24f;
      ASSERT_EQ(random.Draw(), expected) << "seed " << seed << ", draw " << i;
    }
  };
  drawAlong(0);
  for (std::uint32_t seed : {5489u, 1u, 4294967295u}) {
    random.Seed(seed);
    engine.seed(seed);
    drawAlong(seed);
  }
}

int relayCalls = 0;

// A relayed source is asked once per draw taken, skips included, and only when it is taken.
TEST(TwisterRandom, RelaysOneDrawAsEachIsTaken) {
  TwisterRandom random;
  relayCalls = 0;
  random.RelayFrom([] { return static_cast<float>(++relayCalls) / 8; });
  EXPECT_EQ(relayCalls, 0);
  EXPECT_EQ(random.Draw(), 1.0f / 8);
  random.Skip();
  EXPECT_EQ(relayCalls, 2);
  EXPECT_EQ(random.Draw(), 3.0f / 8);
  EXPECT_EQ(relayCalls, 3);
  random.RelayFrom(nullptr);
  std::mt19937 engine(0);
  EXPECT_EQ(random.Draw(), static_cast<float>(engine() >> 8) * 0x1p-24f);
}

// Calls a few hundred nanoseconds apart still seed different matches.
TEST(ClockSeed, CallsInQuickSuccessionDiffer) {
  int repeats = 0;
  std::uint32_t last = ClockSeed();
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t seed = ClockSeed();
    repeats += seed == last ? 1 : 0;
    last = seed;
  }
  EXPECT_EQ(repeats, 0);
}

}  // namespace
}  // namespace quarrow
