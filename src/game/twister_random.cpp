#include "game/twister_random.h"

namespace quarrow {
namespace {

constexpr int kWords = 624;
constexpr int kShift = 397;
constexpr std::uint32_t kMatrix = 0x9908b0df;
constexpr std::uint32_t kUpperBit = 0x80000000;

// The twist of one word: its top bit and the next word's low 31 bits, folded into the word kShift
// places on. The lowest bit spread over the word by two shifts stands in for a branch, so that the
// loops vectorise.
inline std::uint32_t Twist(std::uint32_t word, std::uint32_t next, std::uint32_t far) {
  const std::uint32_t y = (word & kUpperBit) | (next & ~kUpperBit);
  const auto lowestBit = static_cast<std::uint32_t>(static_cast<std::int32_t>(y << 31) >> 31);
  return far ^ (y >> 1) ^ (lowestBit & kMatrix);
}

// An output's draw: its top 24 bits, converted as a signed value for the vector conversion.
inline float DrawOf(std::uint32_t z) {
  z ^= z >> 11;
  z ^= (z << 7) & 0x9d2c5680;
  z ^= (z << 15) & 0xefc60000;
  z ^= z >> 18;
  return static_cast<float>(static_cast<std::int32_t>(z >> 8)) * 0x1p-24f;
}

// Renews the state and makes each new word's draw as the word is. Twice the words per instruction
// where the processor has 256-bit integer vectors; the words are the same either way. Other targets
// (WebAssembly) have one vector width and no clones.
#if defined(__x86_64__)
#define QUARROW_RENEW_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define QUARROW_RENEW_CLONES
#endif
QUARROW_RENEW_CLONES void Renew(std::uint32_t* state, float* draws) {
  const auto put = [&](int i, std::uint32_t word) {
    state[i] = word;
    draws[i] = DrawOf(word);
  };
  // Split where the word kShift on wraps round: the first run reads only old words there, the
  // second reads words 227 places back that are already new, far enough for any vector width.
  constexpr int kFirstRun = kWords - kShift;
  for (int i = 0; i < kFirstRun; ++i) {
    put(i, Twist(state[i], state[i + 1], state[i + kShift]));
  }
  for (int i = kFirstRun; i < kWords - 1; ++i) {
    put(i, Twist(state[i], state[i + 1], state[i - kFirstRun]));
  }
  put(kWords - 1, Twist(state[kWords - 1], state[0], state[kShift - 1]));
}

}  // namespace

void TwisterRandom::Seed(std::uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kStateSize; ++i) {
    const std::uint32_t previous = state_[i - 1];
    state_[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
  }
  next_ = kStateSize;
}

const float* TwisterRandom::TakeAll(const float*& end) {
  if (next_ == kStateSize) {
    Refill();
  }
  const float* first = draws_.data() + next_;
  end = draws_.data() + kStateSize;
  next_ = kStateSize;
  return first;
}

// Kept out of line, so that the draws that never reach it stay short.
[[gnu::noinline]] void TwisterRandom::Refill() {
  static_assert(kStateSize == kWords);
  Renew(state_.data(), draws_.data());
  next_ = 0;
}

}  // namespace quarrow
