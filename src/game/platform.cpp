#include "game/platform.h"

#include <chrono>
#include <random>

namespace quarrow {
namespace {

SeededPlatform quietPlatform;
// A draw asked of a platform without a source, held as the one draw in hand.
float askedDraw = 0.0f;

// Hands the draws in hand back to the installed source, so that they come again from there.
void GiveBackDraws() {
  if (TwisterRandom* source = detail::installedPlatform->Random(); source != nullptr) {
    source->GiveBack(static_cast<std::size_t>(detail::drawEnd - detail::drawNext));
  }
  detail::drawNext = detail::drawEnd = nullptr;
}

}  // namespace

namespace detail {
Platform* installedPlatform = &quietPlatform;
bool installedHasEvents = false;
const float* drawNext = nullptr;
const float* drawEnd = nullptr;

// Out of line: a draw that finds draws in hand never comes here.
[[gnu::noinline]] void TakeDraws() {
  if (TwisterRandom* source = installedPlatform->Random(); source != nullptr) {
    drawNext = source->TakeAll(drawEnd);
  } else {
    // A script is asked as each draw is taken, so that it sees the order of draws and pumps.
    askedDraw = installedPlatform->Draw();
    drawNext = &askedDraw;
    drawEnd = drawNext + 1;
  }
}
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
  GiveBackDraws();
  detail::installedPlatform = platform != nullptr ? platform : &quietPlatform;
  detail::installedHasEvents = detail::installedPlatform->HasEvents();
}

void ReseedDraws() {
  GiveBackDraws();
  ThePlatform().Reseed();
}

}  // namespace quarrow
