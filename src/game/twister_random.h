#pragma once

// The random source every platform shares: the outputs of std::mt19937, made a block at a time.

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarrow {

// Draws from the outputs of std::mt19937 seeded alike, one per output: its top 24 bits, so that a
// draw is an exact multiple of 2^-24 below 1. The state is renewed 624 outputs at a time and the
// draws made from it, by loops the compiler vectorises; a draw is then one load from the block.
class TwisterRandom {
 public:
  explicit TwisterRandom(std::uint32_t seed = 0) { Seed(seed); }
  void Seed(std::uint32_t seed);

  float Draw() {
    if (next_ == kStateSize) [[unlikely]] {
      Refill();
    }
    return draws_[next_++];
  }
  // Takes the next draw without looking at it.
  void Skip() {
    if (next_ == kStateSize) [[unlikely]] {
      Refill();
    }
    ++next_;
  }
  // Hands out every draw not yet taken, making new ones first when none is left: [*first, end).
  // They count as taken until given back.
  const float* TakeAll(const float*& end);
  // The last count of the draws taken are not used after all: they come again.
  void GiveBack(std::size_t count) { next_ -= static_cast<int>(count); }

 private:
  static constexpr int kStateSize = 624;
  void Refill();

  std::array<std::uint32_t, kStateSize> state_{};
  std::array<float, kStateSize> draws_{};
  int next_ = kStateSize;
};

}  // namespace quarrow
