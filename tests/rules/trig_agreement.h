#pragma once

// The fast sine, cosine and arctangent forms against the C library's, shared by the tests and the
// longer run of the benchmark.

#include <cstdint>

#include "game/values.h"

namespace quarrow::testing {

// The heading of travel as the rules spell it, with the C library's arctangent.
Fixed ReferenceDirection(double dx, double dy);

// Over count random inputs: how many give a fast result unlike the C library's, or an
// approximation beyond its bound. Beside a boundary, the speeds, draws and arctangents are chosen
// so that the C library's results lie a few ulps from a rounding boundary.
std::int64_t Disagreements(std::uint32_t seed, std::int64_t count, bool besideBoundary);

}  // namespace quarrow::testing
