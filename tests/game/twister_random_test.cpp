#include "game/twister_random.h"

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

}  // namespace
}  // namespace quarrow
