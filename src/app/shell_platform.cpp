#include "app/shell_platform.h"

#include <chrono>
#include <cstdint>

namespace quarrow {

void ShellPlatform::Reseed() {
  if (!seeded_) {
    clockSeed_ = ClockSeed();
    random_.Seed(clockSeed_);
  }
}

void ShellPlatform::PumpEvents() {
  // A point search asks for events at every attempt, several times a frame, and each pass costs a
  // system call. Asking the window system at most once a millisecond serves every event no later
  // than anybody could tell; the frame's own wait still pumps every frame. Even reading the clock
  // costs more than an attempt, so it is read once in a run of attempts: in a long search,
  // some ten microseconds apart.
  constexpr auto kSearchPumpInterval = std::chrono::milliseconds(1);
  constexpr int kAttemptsPerReading = 1024;
  if (++attemptsUnchecked_ < kAttemptsPerReading) {
    return;
  }
  attemptsUnchecked_ = 0;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastPump_ < kSearchPumpInterval) {
    return;
  }
  lastPump_ = now;
  shell_.PumpEvents();
}

}  // namespace quarrow
