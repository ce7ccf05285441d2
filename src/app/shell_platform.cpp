#include "app/shell_platform.h"

#include <chrono>
#include <cstdint>

namespace quarrow {

void ShellPlatform::Reseed() {
  const auto now =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count() ^
                                 std::chrono::steady_clock::now().time_since_epoch().count());
  random_.Seed(static_cast<std::uint32_t>(now ^ (now >> 32)));
}

}  // namespace quarrow
