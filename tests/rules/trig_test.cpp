#include "rules/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "game/game_state.h"
#include "game/game_state_fixture.h"
#include "rules/trig_agreement.h"
#include "sim/contact.h"

namespace quarrow {
namespace {

using testing::Fx;

#ifdef NDEBUG
constexpr std::int64_t kRandomInputs = 10'000'000;
#else
constexpr std::int64_t kRandomInputs = 1'000'000;  // sanitised builds run many times slower
#endif

TEST(Trig, FastFormsAgreeWithTheCLibrary) {
  EXPECT_EQ(testing::Disagreements(1, kRandomInputs, false), 0);
  EXPECT_EQ(testing::Disagreements(2, kRandomInputs / 10, true), 0);
}

using Reach = testing::GameStateTest;

TEST_F(Reach, LiveBallAtTheEdgeOfItsReachTouchesAsTheCLibrarySays) {
  Players[2].X = Fx(100);
  Players[2].Y = Fx(80);
  Players[2].Role = 1;
  int hits = 0;
  for (int k = 1; k < 20000; ++k) {
    // The ball d to the left, at an angle whose x margin 2 |cos a| is d - 4 to a few ulps.
    const double d = 4 + k / 10000.0;
    const double a = std::acos((d - 4) / 2) * (1 + (k % 9 - 4) * 0x1p-52);
    LooseBall(100 - d, 80, 2, a);
    CheckBallContact(2);
    const bool hit = Players[2].Role == 3;
    EXPECT_EQ(hit, 96 - std::fabs(2 * std::cos(a)) < Fx(100 - d).ToDouble()) << k;
    hits += hit;
    Players[2].Role = 1;
  }
  EXPECT_GT(hits, 0);
}

}  // namespace
}  // namespace quarrow
