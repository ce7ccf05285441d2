// The page's side of the core: the play loop every front end shares, passed through to the page's
// script, which only keeps time, paints the canvas and shows what the loop says.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <limits>
#include <string>

#include "game/game_state.h"
#include "play/frame_loop.h"
#include "play/placement.h"
#include "play/stepped_loop.h"
#include "render/draw_court.h"
#include "render/picture.h"

namespace {

quarrow::Picture picture;
int drawnRevision = -1;

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

double Now() {
  return emscripten_get_now();
}

// Records the picture of the state on screen when it has changed; never the middle of a play-on.
void Record() {
  const quarrow::SteppedView& v = quarrow::View();
  if (v.stage != quarrow::Stage::kPlayingOn &&
      (v.framesLastPass > 0 || v.revision != drawnRevision)) {
    quarrow::DrawCourt(picture);
  }
  drawnRevision = v.revision;
}

}  // namespace

extern "C" {

// query: the page's address after its path, "?seed=5&match=2&court=400x300".
EMSCRIPTEN_KEEPALIVE void QuarrowBegin(const char* query) {
  quarrow::BeginSteppedRun(query);
  Record();
}

// A pass of the loop at now, the page's reading of Now(); see SteppedPass. Returns the milliseconds
// to leave to a timer, 0 to come back at once, negative to wait for an answer.
EMSCRIPTEN_KEEPALIVE double QuarrowPass(double now) {
  const double wait = quarrow::SteppedPass(now, Now);
  Record();
  return wait;
}

EMSCRIPTEN_KEEPALIVE void QuarrowAnswer(int yes) {
  quarrow::SteppedAnswer(yes != 0);
  Record();
}

EMSCRIPTEN_KEEPALIVE void QuarrowMaxClick() {
  quarrow::SteppedMaxClick();
}
EMSCRIPTEN_KEEPALIVE void QuarrowFastClick() {
  quarrow::SteppedFastClick();
}
EMSCRIPTEN_KEEPALIVE void QuarrowPauseClick() {
  quarrow::SteppedPauseClick();
}
EMSCRIPTEN_KEEPALIVE void QuarrowStepClick() {
  quarrow::SteppedStepClick();
}
EMSCRIPTEN_KEEPALIVE int QuarrowPaused() {
  return quarrow::Paused ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void QuarrowMouseMove(int buttons, float x, float y) {
  quarrow::SteppedMouseMove(buttons, x, y);
  quarrow::DrawCourt(picture);
}

// A key on the focused court, a CourtKey: whether it did anything, so the page keeps it.
EMSCRIPTEN_KEEPALIVE int QuarrowCourtKey(int key, int shift) {
  return quarrow::SteppedCourtKey(key, shift != 0) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void QuarrowLeavePlacement() {
  quarrow::LeavePlacement();
}

EMSCRIPTEN_KEEPALIVE void QuarrowPaint() {
  CanvasSurface surface;
  picture.Replay(surface);
  quarrow::DrawPlacementCursor(surface);
}

// What the page shows, as the loop leaves it.
EMSCRIPTEN_KEEPALIVE int QuarrowRevision() {
  return quarrow::View().revision;
}
// "playing-on" (to the run's first match shown), "playing", "asking" or "ended".
EMSCRIPTEN_KEEPALIVE const char* QuarrowStage() {
  constexpr const char* kNames[] = {"playing-on", "playing", "asking", "ended"};
  return kNames[static_cast<int>(quarrow::View().stage)];
}
EMSCRIPTEN_KEEPALIVE double QuarrowMatch() {
  return static_cast<double>(quarrow::View().match);
}
EMSCRIPTEN_KEEPALIVE int QuarrowCourtWidth() {
  return quarrow::View().court.width;
}
EMSCRIPTEN_KEEPALIVE int QuarrowCourtHeight() {
  return quarrow::View().court.height;
}
EMSCRIPTEN_KEEPALIVE const char* QuarrowStatus() {
  return quarrow::View().status.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* QuarrowShareLine() {
  return quarrow::View().shareLine.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* QuarrowShareLink() {
  return quarrow::View().shareLink.c_str();
}
// The last sentence of the match for assistive technology, and how many have been said.
EMSCRIPTEN_KEEPALIVE const char* QuarrowAnnouncement() {
  return quarrow::View().announcement.c_str();
}
EMSCRIPTEN_KEEPALIVE int QuarrowAnnouncements() {
  return quarrow::View().announcements;
}
EMSCRIPTEN_KEEPALIVE const char* QuarrowQuestion() {
  return quarrow::View().question.c_str();
}
EMSCRIPTEN_KEEPALIVE int QuarrowMaxMode() {
  return quarrow::MaxMode != quarrow::kFalse;
}
EMSCRIPTEN_KEEPALIVE int QuarrowFastMode() {
  return quarrow::FastMode != quarrow::kFalse;
}
EMSCRIPTEN_KEEPALIVE double QuarrowFramesLastPass() {
  return static_cast<double>(quarrow::View().framesLastPass);
}
EMSCRIPTEN_KEEPALIVE double QuarrowMatchFrames() {
  return static_cast<double>(quarrow::MatchFrames);
}

// What the page's tests look at: the ball, and a player's place on the court.
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
