#include "rules/trig.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "rules/trig_agreement.h"

namespace quarrow {
namespace {

#ifdef NDEBUG
constexpr std::int64_t kRandomInputs = 10'000'000;
#else
constexpr std::int64_t kRandomInputs = 1'000'000;  // sanitised builds run many times slower
#endif

TEST(Trig, FastFormsAgreeWithTheCLibrary) {
  EXPECT_EQ(testing::Disagreements(1, kRandomInputs, false), 0);
  EXPECT_EQ(testing::Disagreements(2, kRandomInputs / 10, true), 0);
}

}  // namespace
}  // namespace quarrow
