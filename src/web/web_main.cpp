// The page's side of the core: the same rules, drawing and input handlers as the window, driven a
// frame or a slice of frames at a time by the page's script, which cannot block.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/check_winner.h"
#include "app/inputs.h"
#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "render/draw_court.h"
#include "render/picture.h"
#include "sim/frame.h"
#include "web/page_address.h"

namespace {

// The court's interior in CSS pixels, as the window's.
constexpr quarrow::CourtSize kCourt = quarrow::kStandardCourt;

// Reseeded from the clock at every match setup as the window is, or, for a shared link, seeded once
// so that the run follows from its seed as quarrow-sim's does. Events reach the core only between
// frames: a page cannot serve them in the middle of a point search.
class PagePlatform final : public quarrow::Platform {
 public:
  quarrow::TwisterRandom* Random() override { return &random_; }
  float Draw() override { return random_.Draw(); }
  void Reseed() override {
    if (!seeded_) {
      seed_ = quarrow::ClockSeed();
      random_.Seed(seed_);
    }
  }
  void PumpEvents() override {}
  quarrow::CourtSize CourtInterior() override { return kCourt; }

  void SeedOnce(std::uint32_t seed) {
    seeded_ = true;
    seed_ = seed;
    random_.Seed(seed);
  }
  std::uint32_t Seed() const { return seed_; }

 private:
  quarrow::TwisterRandom random_;
  bool seeded_ = false;
  std::uint32_t seed_ = 0;
};

PagePlatform platform;
quarrow::Picture picture;
std::string address;
quarrow::PageRun addressRun;

// The canvas the page hands over as Module.court.
EM_JS(void, CanvasClear, (), { Module.court.clear(); });
EM_JS(void, CanvasLine, (float x1, float y1, float x2, float y2),
      { Module.court.line(x1, y1, x2, y2); });
EM_JS(void, CanvasRectangle, (float x1, float y1, float x2, float y2, int r, int g, int b),
      { Module.court.rectangle(x1, y1, x2, y2, r, g, b); });
EM_JS(void, CanvasCircle, (float x, float y, float radius), { Module.court.circle(x, y, radius); });

class CanvasSurface final : public quarrow::Surface {
 public:
  void Clear() override { CanvasClear(); }
  void Line(quarrow::PointF from, quarrow::PointF to) override {
    CanvasLine(from.x, from.y, to.x, to.y);
  }
  void Rectangle(quarrow::PointF corner, quarrow::PointF opposite, quarrow::Rgb colour) override {
    CanvasRectangle(corner.x, corner.y, opposite.x, opposite.y, colour.red, colour.green,
                    colour.blue);
  }
  void Circle(quarrow::PointF centre, float radius) override {
    CanvasCircle(centre.x, centre.y, radius);
  }
};

}  // namespace

extern "C" {

// The page's address, written here by the page (its size in bytes with the closing zero).
EMSCRIPTEN_KEEPALIVE char* QuarrowAddressBuffer(int size) {
  address.assign(static_cast<std::size_t>(size), '\0');
  return address.data();
}

// Reads the address written; returns why its run is not played, or "".
EMSCRIPTEN_KEEPALIVE const char* QuarrowReadAddress() {
  addressRun = quarrow::ReadPageAddress(address.c_str());
  return addressRun.problem.c_str();
}
EMSCRIPTEN_KEEPALIVE int QuarrowAddressSeeded() {
  return addressRun.seeded ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE std::uint32_t QuarrowAddressSeed() {
  return addressRun.seed;
}
EMSCRIPTEN_KEEPALIVE double QuarrowAddressMatch() {
  return static_cast<double>(addressRun.match);
}

// seeded: follow one source from seed, as `quarrow-sim --seed` does; else the clock at each match.
EMSCRIPTEN_KEEPALIVE void QuarrowStart(int seeded, std::uint32_t seed) {
  if (seeded != 0) {
    platform.SeedOnce(seed);
  }
  quarrow::SetPlatform(&platform);
}

// Sets up a match and returns the seed it follows from: a clock-seeded match's own, whose setup is
// that of the first match of the run from it.
EMSCRIPTEN_KEEPALIVE std::uint32_t QuarrowNewMatch() {
  quarrow::InitGame();
  quarrow::Restarting = quarrow::kFalse;
  quarrow::DrawCourt(picture);
  return platform.Seed();
}

// Runs up to count frames, fewer when a match is decided, and records the last one's picture.
// Returns the frames run.
EMSCRIPTEN_KEEPALIVE int QuarrowFrames(int count) {
  int run = 0;
  while (run < count) {
    quarrow::detail::CallAdvanceFrame();
    ++run;
    if (quarrow::Winner() != 0) {
      break;
    }
  }
  quarrow::DrawCourt(picture);
  return run;
}

EMSCRIPTEN_KEEPALIVE int QuarrowWinner() {
  return quarrow::Winner();
}

// The question for a decided match, as the window asks it; kept until the next call.
EMSCRIPTEN_KEEPALIVE const char* QuarrowQuestion() {
  static std::string question;
  question = quarrow::RestartQuestion(quarrow::Winner());
  quarrow::Restarting = quarrow::kTrue;
  return question.c_str();
}

EMSCRIPTEN_KEEPALIVE void QuarrowPaint() {
  CanvasSurface surface;
  picture.Replay(surface);
}

EMSCRIPTEN_KEEPALIVE void QuarrowMaxClick() {
  quarrow::Command1_Click();
}
EMSCRIPTEN_KEEPALIVE void QuarrowFastClick() {
  quarrow::Command2_Click();
}
EMSCRIPTEN_KEEPALIVE int QuarrowMaxMode() {
  return quarrow::MaxMode != quarrow::kFalse;
}
EMSCRIPTEN_KEEPALIVE int QuarrowFastMode() {
  return quarrow::FastMode != quarrow::kFalse;
}

EMSCRIPTEN_KEEPALIVE void QuarrowMouseMove(int buttons, float x, float y) {
  quarrow::PicMain_MouseMove(static_cast<std::int16_t>(buttons), 0, x, y);
}

// What the page's tests look at: the ball, and a player's place and colour on the court.
EMSCRIPTEN_KEEPALIVE double QuarrowBallX() {
  return quarrow::BallX.ToDouble();
}
EMSCRIPTEN_KEEPALIVE double QuarrowBallY() {
  return quarrow::BallY.ToDouble();
}
EMSCRIPTEN_KEEPALIVE int QuarrowBallTeam() {
  return quarrow::BallTeam;
}
EMSCRIPTEN_KEEPALIVE double QuarrowPlayerX(int i) {
  return i >= 1 && i <= quarrow::kPlayerCount ? quarrow::Players[i].X.ToDouble()
                                              : std::numeric_limits<double>::quiet_NaN();
}
EMSCRIPTEN_KEEPALIVE double QuarrowPlayerY(int i) {
  return i >= 1 && i <= quarrow::kPlayerCount ? quarrow::Players[i].Y.ToDouble()
                                              : std::numeric_limits<double>::quiet_NaN();
}

}  // extern "C"
