#pragma once

// The window as the frame loop sees it: the event pump, the tick counter, the court surface and the
// question box. The Qt window is one; tests plug in a fake with a clock of their own.

#include <cstdint>
#include <string>

#include "game/platform.h"
#include "render/picture.h"

namespace quarrow {

// Thrown to leave the program: unwinds from wherever the end was noticed (a pump, a point search,
// the answer No) to main, which exits normally.
struct ProgramEnd {};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Show() = 0;
  // Serves every pending event and returns. Throws ProgramEnd once the window has been closed.
  virtual void PumpEvents() = 0;
  // Blocks until an event has been served or Ticks() has reached tick. Throws like PumpEvents.
  virtual void WaitForEvents(std::int64_t tick) = 0;
  // Milliseconds on a monotonic clock: never wraps, never goes back.
  virtual std::int64_t Ticks() = 0;
  virtual CourtSize CourtInterior() = 0;
  // The court surface keeps the frame's picture until the window shows it.
  virtual Picture& PicMain() = 0;
  // The frame's picture is complete on PicMain(); tick is the reading its wait ended with.
  virtual void PictureReady(std::int64_t tick) = 0;
  // A modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A match has been set up; line says how to play it again. Only the real window tells anyone.
  virtual void MatchSetUp(const std::string& /*line*/) {}
};

}  // namespace quarrow
