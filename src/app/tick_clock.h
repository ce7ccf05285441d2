#pragma once

#include <chrono>
#include <cstdint>

namespace quarrow {

// Milliseconds since an arbitrary start (system boot on Linux); 64 bits never wrap.
inline std::int64_t MonotonicTicks() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace quarrow
