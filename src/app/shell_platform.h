#pragma once

// The core's platform seam served by the window: clock-seeded draws, the window's event pump and
// the court surface's interior.

#include "app/shell.h"
#include "game/platform.h"

namespace quarrow {

class ShellPlatform final : public Platform {
 public:
  explicit ShellPlatform(Shell& shell) : shell_(shell) {}
  float Draw() override { return random_.Draw(); }
  void Reseed() override;
  void PumpEvents() override { shell_.PumpEvents(); }
  CourtSize CourtInterior() override { return shell_.CourtInterior(); }

 private:
  Shell& shell_;
  TwisterRandom random_;
};

// Installs a platform for its own lifetime, also when left by an exception.
class PlatformInstallation {
 public:
  explicit PlatformInstallation(Platform& platform) { SetPlatform(&platform); }
  ~PlatformInstallation() { SetPlatform(nullptr); }
  PlatformInstallation(const PlatformInstallation&) = delete;
  PlatformInstallation& operator=(const PlatformInstallation&) = delete;
};

}  // namespace quarrow
