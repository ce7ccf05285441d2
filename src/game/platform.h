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
  // The source the core draws from directly, a block at a time, without a call through this seam
  // per draw; it lives as long as the platform, and Reseed decides its seeds. Without one (a test's
  // script) every draw is asked of Draw() as it is taken.
  virtual TwisterRandom* Random() { return nullptr; }
  // A uniform value in [0, 1); never 1.
  virtual float Draw() = 0;
  // Called at every match setup (through ReseedDraws).
  virtual void Reseed() = 0;
  // Serves the pending window events and returns. May throw to abandon the frame (window closed).
  virtual void PumpEvents() = 0;
  // False for a platform without events, whose PumpEvents does nothing: a search then makes no
  // call per try.
  virtual bool HasEvents() const { return true; }
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
  bool HasEvents() const override { return false; }
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

// The installed platform's Reseed(), its source's draws in hand given back first.
void ReseedDraws();

namespace detail {
extern Platform* installedPlatform;
extern bool installedHasEvents;
// The draws in hand, taken from the installed source a block at a time, [drawNext, drawEnd): a
// draw is a comparison and a load, with no pointer to the source to follow.
extern const float* drawNext;
extern const float* drawEnd;
// Takes the next draws from the installed source: its block, or one draw of a platform without.
void TakeDraws();
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
  if (detail::drawNext == detail::drawEnd) [[unlikely]] {
    detail::TakeDraws();
  }
  return *detail::drawNext++;
}

// Two draws in their order, with one look at the draws in hand.
struct DrawnPair {
  float first, second;
};
inline DrawnPair DrawPair() {
  if (detail::drawEnd - detail::drawNext >= 2) [[likely]] {
    const float* pair = detail::drawNext;
    detail::drawNext += 2;
    return {pair[0], pair[1]};
  }
  const float first = Draw();
  return {first, Draw()};
}

// One draw taken from the source and thrown away: a search's try whose other value already failed.
inline void SkipDraw() {
  if (detail::drawNext == detail::drawEnd) [[unlikely]] {
    detail::TakeDraws();
  }
  ++detail::drawNext;
}

// Whether the installed platform serves events; without them a search need not pump per try.
inline bool PlatformHasEvents() {
  return detail::installedHasEvents;
}

// Tries of two draws each until a try's first draw holds, calling beforeTry() ahead of every try;
// returns that draw, its pair's second left as the next draw; a failed try's second is taken
// unread.
template <typename Holds, typename BeforeTry>
float FirstOfPairThatHolds(const Holds& holds, const BeforeTry& beforeTry) {
  for (;;) {
    beforeTry();
    const float draw = Draw();
    if (holds(draw)) {
      return draw;
    }
    SkipDraw();
  }
}

// The same with nothing to do between tries: the whole tries in hand are scanned in place, and the
// loop above takes over where a try would reach past them. Inlined, as a roaming player's search
// takes one a frame and the call would cost a tenth of it.
template <typename Holds>
[[gnu::always_inline]] inline float FirstOfPairThatHolds(const Holds& holds) {
  const float* next = detail::drawNext;
  for (; detail::drawEnd - next >= 2; next += 2) {
    if (holds(*next)) {
      detail::drawNext = next + 1;
      return *next;
    }
  }
  detail::drawNext = next;
  return FirstOfPairThatHolds(holds, [] {});
}

}  // namespace quarrow
