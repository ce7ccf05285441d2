#include "game/values.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(Values, FixedRoundsHalfToEven) {
  EXPECT_EQ(ToFixed(0.00005).count, 0);
}

}  // namespace
}  // namespace quarrow
