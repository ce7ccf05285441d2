#include "game/platform.h"

namespace quarrow {
namespace {

class QuietPlatform final : public Platform {
 public:
  float Draw() override { return random_.Draw(); }
  void Reseed() override {}
  void PumpEvents() override {}
  CourtSize CourtInterior() override { return {257, 169}; }

 private:
  TwisterRandom random_;
};

QuietPlatform quietPlatform;

}  // namespace

namespace detail {
Platform* installedPlatform = &quietPlatform;
}

void SetPlatform(Platform* platform) {
  detail::installedPlatform = platform != nullptr ? platform : &quietPlatform;
}

}  // namespace quarrow
