#include "play/shell_platform.h"

namespace quarrow {

void ShellPlatform::Reseed() {
  if (!seeded_) {
    clockSeed_ = ClockSeed();
    random_.Seed(clockSeed_);
  }
}

void ShellPlatform::PumpEvents() {
  // A point search asks for events at every attempt, several times a frame. The window is asked at
  // most once a millisecond tick, the frames' own passes included; even reading the clock costs
  // more than an attempt, so it is read once in a run of attempts: in a long search, some ten
  // microseconds apart.
  constexpr int kAttemptsPerReading = 1024;
  if (++attemptsUnchecked_ < kAttemptsPerReading) {
    return;
  }
  attemptsUnchecked_ = 0;
  shell_.PumpEventsOncePerTick(shell_.Ticks(), true);
}

}  // namespace quarrow
