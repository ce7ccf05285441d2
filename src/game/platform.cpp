#include "game/platform.h"

#include <chrono>
#include <random>

namespace quarrow {
namespace {

SeededPlatform quietPlatform;
TwisterRandom relay;  // for a platform without a source of its own

}  // namespace

namespace detail {
Platform* installedPlatform = &quietPlatform;
TwisterRandom* installedRandom = quietPlatform.Random();
bool installedHasEvents = false;
}  // namespace detail

std::uint32_t ClockSeed() {
  const auto wall =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  const auto steady =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  // The two clocks run a nearly fixed offset apart, so a plain XOR of them cancels most of what
  // changes between calls (one seed in a hundred repeated, microseconds apart); seed_seq spreads
  // every bit of both over the seed.
  std::seed_seq mix{static_cast<std::uint32_t>(wall), static_cast<std::uint32_t>(wall >> 32),
                    static_cast<std::uint32_t>(steady), static_cast<std::uint32_t>(steady >> 32)};
  std::uint32_t seed = 0;
  mix.generate(&seed, &seed + 1);
  return seed;
}

void SetPlatform(Platform* platform) {
  detail::installedPlatform = platform != nullptr ? platform : &quietPlatform;
  detail::installedHasEvents = detail::installedPlatform->HasEvents();
  detail::installedRandom = detail::installedPlatform->Random();
  if (detail::installedRandom == nullptr) {
    relay.RelayFrom([] { return ThePlatform().Draw(); });
    detail::installedRandom = &relay;
  }
}

}  // namespace quarrow
