#pragma once

// The fast trigonometric forms against the correctly rounded ones, for the tests and the soak run.

#include <cstdint>

namespace quarrow::testing {

// How many of count random inputs give a result unlike the correctly rounded functions', or an
// approximation beyond its bound. Beside a boundary, the inputs put the exact results a few ulps
// from one.
std::int64_t Disagreements(std::uint32_t seed, std::int64_t count, bool besideBoundary);

}  // namespace quarrow::testing
