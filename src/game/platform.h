#pragma once

// The one seam through which the platform reaches the core: the random source, the event pump and
// the size of the court surface. The window, the headless runner and the tests each plug in their
// own.

#include <cstdint>

#include "game/twister_random.h"

namespace quarrow {

struct CourtSize {
  int width = 0;
  int height = 0;
};

// The court the window shows, inside the surface's frame; the runner's and the tests' default.
inline constexpr CourtSize kStandardCourt{257, 169};

// The court sizes the rules can serve: zones 1 and 2 need a whole-number x each, and the aiming
// sums of five players stay within int16.
inline constexpr int kMinCourtWidth = 83;
inline constexpr int kMaxCourtSide = 6553;

class Platform {
 public:
  virtual ~Platform() = default;
  // The source the core draws from directly, without a call through this seam per draw; it lives
  // as long as the platform, and Reseed decides its seeds. Without one (a test's script) every
  // draw is asked of Draw() as it is taken.
  virtual TwisterRandom* Random() { return nullptr; }
  // A uniform value in [0, 1); never 1.
  virtual float Draw() = 0;
  // Called at every match setup.
  virtual void Reseed() = 0;
  // Serves the pending window events and returns. May throw to abandon the frame (window closed).
  virtual void PumpEvents() = 0;
  // The interior of the court surface in pixels.
  virtual CourtSize CourtInterior() = 0;
};

// A platform without a window: a source seeded once, which match setup's reseed leaves alone so
// that a whole run follows from its seed; no events; a court of a given size.
class SeededPlatform : public Platform {
 public:
  explicit SeededPlatform(std::uint32_t seed = 0, CourtSize court = kStandardCourt)
      : random_(seed), court_(court) {}
  TwisterRandom* Random() override { return &random_; }
  float Draw() override { return random_.Draw(); }
  void Reseed() override {}
  void PumpEvents() override {}
  CourtSize CourtInterior() override { return court_; }

 private:
  TwisterRandom random_;
  CourtSize court_;
};

// A seed taken from the clocks, different from run to run.
std::uint32_t ClockSeed();

// Installs the platform the core talks to; nullptr restores a quiet default (a SeededPlatform with
// seed 0). The caller keeps ownership and must outlive its installation.
void SetPlatform(Platform* platform);

namespace detail {
extern Platform* installedPlatform;
// The installed platform's Random(), or one relaying its Draw(): never null, so that a draw makes
// no test of its own.
extern TwisterRandom* installedRandom;
}  // namespace detail

inline Platform& ThePlatform() {
  return *detail::installedPlatform;
}

// Installs a platform for its own lifetime, also when left by an exception.
class PlatformInstallation {
 public:
  explicit PlatformInstallation(Platform& platform) { SetPlatform(&platform); }
  ~PlatformInstallation() { SetPlatform(nullptr); }
  PlatformInstallation(const PlatformInstallation&) = delete;
  PlatformInstallation& operator=(const PlatformInstallation&) = delete;
};

// One draw from the installed random source.
inline float Draw() {
  return detail::installedRandom->Draw();
}

// One draw taken from the source and thrown away: a search's try whose other value already failed.
inline void SkipDraw() {
  detail::installedRandom->Skip();
}

}  // namespace quarrow
