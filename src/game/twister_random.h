#pragma once

// The random source every platform shares: the outputs of std::mt19937, made a block at a time.

#include <array>
#include <cstdint>

namespace quarrow {

// Gives exactly the sequence of std::mt19937 seeded alike. The state is renewed and tempered 624
// outputs at a time, by loops the compiler vectorises, and a draw is then one load from the block.
class TwisterRandom {
 public:
  explicit TwisterRandom(std::uint32_t seed = 0) { Seed(seed); }
  void Seed(std::uint32_t seed);

  // The next 32-bit output.
  std::uint32_t Next() {
    if (next_ == kStateSize) [[unlikely]] {
      Refill();
    }
    return outputs_[next_++];
  }
  // Takes the next output without looking at it.
  void Skip() {
    if (next_ == kStateSize) [[unlikely]] {
      Refill();
    }
    ++next_;
  }
  // A draw in [0, 1): the top 24 bits of an output, so an exact multiple of 2^-24.
  float Draw() { return static_cast<float>(Next() >> 8) * 0x1p-24f; }

 private:
  static constexpr int kStateSize = 624;
  void Refill();

  std::array<std::uint32_t, kStateSize> state_{};
  std::array<std::uint32_t, kStateSize> outputs_{};
  int next_ = kStateSize;
};

}  // namespace quarrow
