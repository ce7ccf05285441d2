#pragma once

// A front end that can block, as the frame loop sees it: the event pump, the tick counter, the
// court surface and the question box. The Qt window is one; tests plug in a fake with a clock of
// their own.

#include <cstdint>
#include <limits>
#include <string>

#include "game/platform.h"
#include "render/picture.h"
#include "text/failure.h"

namespace quarrow {

// Thrown to leave the program: unwinds from wherever the end was noticed (a pump, a point search,
// the answer No) to main, which exits normally.
struct ProgramEnd : ProgramExit {
  ProgramEnd() : ProgramExit(0, {}) {}
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Show() = 0;
  // Serves every pending event and returns. Throws ProgramEnd once the window has been closed.
  // midFrame: asked from a point search inside a frame, where the state is not a whole frame.
  virtual void PumpEvents(bool midFrame) = 0;
  // Blocks until an event has been served or Ticks() has reached tick. Throws like PumpEvents.
  virtual void WaitForEvents(std::int64_t tick) = 0;
  // Milliseconds on a monotonic clock: never wraps, never goes back.
  virtual std::int64_t Ticks() = 0;
  virtual CourtSize CourtInterior() = 0;
  // The court surface keeps a picture until the window shows it.
  virtual Picture& PicMain() = 0;
  // Whether a picture finished at tick would reach the screen: Max mode records only those.
  virtual bool PictureDue(std::int64_t tick) = 0;
  // A frame has run; tick is the reading its wait ended with. drawn: its picture is on PicMain(),
  // else PicMain() still holds an earlier frame's.
  virtual void FrameDone(std::int64_t tick, bool drawn) = 0;
  // A modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A match has been set up; line says how to play it again. Only the real window tells anyone.
  virtual void MatchSetUp(const std::string& /*line*/) {}
  // A sentence of the match for assistive technology (NextAnnouncement), politely.
  virtual void Announce(const std::string& /*sentence*/) {}

  // A pass of the pump unless one was made at this tick already. Max mode's frames and a long point
  // search would ask far more often than anybody can tell from once a millisecond, and every pass
  // costs the window system a call. Returns whether it passed.
  bool PumpEventsOncePerTick(std::int64_t tick, bool midFrame) {
    if (tick == lastPass_) {
      return false;
    }
    lastPass_ = tick;
    PumpEvents(midFrame);
    return true;
  }

 private:
  std::int64_t lastPass_ = std::numeric_limits<std::int64_t>::min();
};

}  // namespace quarrow
