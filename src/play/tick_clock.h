#pragma once

#include <time.h>

#include <cstdint>

namespace quarrow {

// Milliseconds since an arbitrary start (system boot on Linux); 64 bits never wrap. Read straight
// from the system: Max mode reads it every frame, and steady_clock's way through the C++ runtime
// measured some 20 ns more a window frame.
inline std::int64_t MonotonicTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

}  // namespace quarrow
