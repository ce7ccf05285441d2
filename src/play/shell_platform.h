#pragma once

// The core's platform seam served by the window: its draws, the window's event pump and the court
// surface's interior.

#include <cstdint>

#include "game/platform.h"
#include "play/shell.h"

namespace quarrow {

class ShellPlatform final : public Platform {
 public:
  // Without a run every match setup reseeds from the clock; with one, every match draws on from
  // where the run's source stands, as the headless runner's matches do.
  explicit ShellPlatform(Shell& shell, const TwisterRandom* run = nullptr)
      : shell_(shell), seeded_(run != nullptr) {
    if (run != nullptr) {
      random_ = *run;
    }
  }
  TwisterRandom* Random() override { return &random_; }
  float Draw() override { return random_.Draw(); }
  void Reseed() override;
  void PumpEvents() override;
  CourtSize CourtInterior() override { return shell_.CourtInterior(); }
  // The clock seed of the last match setup.
  std::uint32_t ClockSeedUsed() const { return clockSeed_; }

 private:
  Shell& shell_;
  TwisterRandom random_;
  bool seeded_;
  std::uint32_t clockSeed_ = 0;
  int attemptsUnchecked_ = 0;
};

}  // namespace quarrow
