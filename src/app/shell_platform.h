#pragma once

// The core's platform seam served by the window: clock-seeded draws, the window's event pump and
// the court surface's interior.

#include "app/shell.h"
#include "game/platform.h"

namespace quarrow {

class ShellPlatform final : public Platform {
 public:
  explicit ShellPlatform(Shell& shell) : shell_(shell) {}
  TwisterRandom* Random() override { return &random_; }
  float Draw() override { return random_.Draw(); }
  void Reseed() override;
  void PumpEvents() override;
  CourtSize CourtInterior() override { return shell_.CourtInterior(); }

 private:
  Shell& shell_;
  TwisterRandom random_;
  int attemptsUnchecked_ = 0;
};

}  // namespace quarrow
