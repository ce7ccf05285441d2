#pragma once

// Quotients the arctangent is asked for, the same in every build: the game's kinds (a heading's
// cotangent, deltas of positions with four decimals on courts up to 6553 pixels, divided as counts
// and as doubles, whole-pixel deltas) and the extremes.

#include <cstdint>
#include <limits>
#include <vector>

#include "game/values.h"
#include "rules/exact_trig.h"

namespace quarrow {

inline std::vector<double> ArctangentSamples() {
  std::vector<double> q;
  for (std::int64_t n = 0; n <= 62832; ++n) {
    const double a = Fixed::FromCount(n).ToDouble();
    q.push_back(Cosine(a) / Sine(a));
  }
  // A fixed generator (splitmix64): the standard library's distributions differ between builds.
  std::uint64_t state = 18;
  const auto next = [&state] {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
  };
  constexpr std::int64_t kCourt = 65'530'000;  // 6553 pixels in ten-thousandths
  const auto delta = [&] { return static_cast<std::int64_t>(next() % (2 * kCourt + 1)) - kCourt; };
  for (int i = 0; i < 100'000; ++i) {
    const Fixed dx = Fixed::FromCount(delta());
    const Fixed dy = Fixed::FromCount(delta());
    q.push_back(static_cast<double>(dx.count) / static_cast<double>(dy.count));
    q.push_back(dx.ToDouble() / dy.ToDouble());
  }
  for (int dx = -40; dx <= 40; ++dx) {
    for (int dy = -40; dy <= 40; ++dy) {
      q.push_back(static_cast<double>(dx) / dy);
    }
  }
  using Limits = std::numeric_limits<double>;
  const double edges[] = {0,
                          Limits::denorm_min(),
                          3 * Limits::denorm_min(),
                          Limits::min(),
                          exact::kTiny,
                          exact::kArctangentFlat,
                          1,
                          0.5,
                          1.0 / 16,
                          3.0 / 16,
                          15.0 / 16,
                          1e300,
                          Limits::max(),
                          Limits::infinity()};
  for (const double e : edges) {
    for (const double v : {e, e * (1 - 0x1p-53), e * (1 + 0x1p-52)}) {
      q.push_back(v);
      q.push_back(-v);
    }
  }
  q.push_back(Limits::quiet_NaN());
  return q;
}

}  // namespace quarrow
