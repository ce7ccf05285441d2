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

// The core takes a source's draws a block at a time; those left in hand go back when another
// platform is installed or the source is reseeded, so that every source's sequence runs on
// unbroken.
TEST(TwisterRandom, DrawsInHandGoBackToTheirSource) {
  std::mt19937 engineA(11);
  std::mt19937 engineB(12);
  const auto next = [](std::mt19937& engine) {
    return static_cast<float>(engine() >> 8) * 0x1p-24f;
  };
  SeededPlatform a(11);
  SeededPlatform b(12);
  for (int round = 0; round < 3; ++round) {
    for (SeededPlatform* platform : {&a, &b}) {
      const PlatformInstallation installation(*platform);
      std::mt19937& engine = platform == &a ? engineA : engineB;
      for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(Draw(), next(engine)) << round << ", " << i;
        SkipDraw();
        engine();
      }
      ReseedDraws();  // a seeded platform keeps its sequence
      ASSERT_EQ(Draw(), next(engine));
    }
  }
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
