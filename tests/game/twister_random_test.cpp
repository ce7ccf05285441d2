#include "game/twister_random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace quarrow {
namespace {

// The reference: the standard engine's output, its top 24 bits as a multiple of 2^-24.
float ReferenceDraw(std::mt19937& engine) {
  return static_cast<float>(engine() >> 8) * 0x1p-24f;
}

// Long runs over many blocks, skips falling on every place in a block, and reseeds in the middle
// of one, the default seed first.
TEST(TwisterRandom, DrawsFollowTheStandardEngine) {
  TwisterRandom random;
  std::mt19937 engine(0);
  for (std::uint32_t seed : {5489u, 1u, 4294967295u, 2026u}) {
    for (int i = 0; i < 200'000; ++i) {
      if (i % 5 == 3) {
        random.Skip();
        engine();
        continue;
      }
      ASSERT_EQ(random.Draw(), ReferenceDraw(engine)) << "before seed " << seed << ", draw " << i;
    }
    random.Seed(seed);
    engine.seed(seed);
  }
}

}  // namespace
}  // namespace quarrow
