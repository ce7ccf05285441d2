#include "game/platform.h"

#include <chrono>

namespace quarrow {
namespace {

SeededPlatform quietPlatform;
TwisterRandom relay;  // for a platform without a source of its own

}  // namespace

namespace detail {
Platform* installedPlatform = &quietPlatform;
TwisterRandom* installedRandom = quietPlatform.Random();
}  // namespace detail

std::uint32_t ClockSeed() {
  const auto now =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count() ^
                                 std::chrono::steady_clock::now().time_since_epoch().count());
  return static_cast<std::uint32_t>(now ^ (now >> 32));
}

void SetPlatform(Platform* platform) {
  detail::installedPlatform = platform != nullptr ? platform : &quietPlatform;
  detail::installedRandom = detail::installedPlatform->Random();
  if (detail::installedRandom == nullptr) {
    relay.RelayFrom([] { return ThePlatform().Draw(); });
    detail::installedRandom = &relay;
  }
}

}  // namespace quarrow
