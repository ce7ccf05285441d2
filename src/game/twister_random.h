#pragma once

// The random source every platform shares: the outputs of std::mt19937, made a block at a time.

#include <array>
#include <cstdint>

namespace quarrow {

// Draws from the outputs of std::mt19937 seeded alike, one per output: its top 24 bits, so that a
// draw is an exact multiple of 2^-24 below 1. The state is renewed 624 outputs at a time and the
// draws made from it, by loops the compiler vectorises; a draw is then one load from the block.
class TwisterRandom {
 public:
  explicit TwisterRandom(std::uint32_t seed = 0) { Seed(seed); }
  void Seed(std::uint32_t seed);
  // Serves every draw from source instead, one asked as each is taken (a test's script); nullptr
  // goes back to the generator. The draws in hand are dropped.
  void RelayFrom(float (*source)());

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

 private:
  static constexpr int kStateSize = 624;
  void Refill();

  std::array<std::uint32_t, kStateSize> state_{};
  std::array<float, kStateSize> draws_{};
  int next_ = kStateSize;
  float (*source_)() = nullptr;
};

}  // namespace quarrow
