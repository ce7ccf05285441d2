#include "rules/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "rules/trig_agreement.h"

namespace quarrow {
namespace {

// A sample, half of it beside the rounding boundaries where a fast form could round the other way;
// `make soak` runs 200 rounds of a million inputs and a hundred thousand beside the boundaries.
#ifdef NDEBUG
constexpr std::int64_t kRandomInputs = 100'000;
#else
constexpr std::int64_t kRandomInputs = 20'000;  // sanitised builds run many times slower
#endif

TEST(Trig, FastFormsAgreeWithTheExactFunctions) {
  EXPECT_EQ(testing::Disagreements(1, kRandomInputs, false), 0);
  EXPECT_EQ(testing::Disagreements(2, kRandomInputs, true), 0);
}

TEST(Trig, GainsAboveTheCeilingAreLeftToTheExactFunctions) {
  constexpr double kGain = 1e9;
  const auto form = [](double v) { return v * kGain; };
  for (std::int64_t n = 0; n <= 62832; n += 3) {
    const Fixed a = Fixed::FromCount(n);
    ASSERT_EQ(RoundedCos(ApproxSinCos(a), kGain, form), ToFixed(form(Cosine(a.ToDouble())))) << n;
  }
}

}  // namespace
}  // namespace quarrow
