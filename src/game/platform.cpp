#include "game/platform.h"

namespace quarrow {
namespace {

SeededPlatform quietPlatform;

}  // namespace

namespace detail {
Platform* installedPlatform = &quietPlatform;
}

void SetPlatform(Platform* platform) {
  detail::installedPlatform = platform != nullptr ? platform : &quietPlatform;
}

}  // namespace quarrow
