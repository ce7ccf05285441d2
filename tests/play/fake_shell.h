#pragma once

// A shell with a clock of its own: time moves only when the loop waits or a frame "works", and
// scheduled events are served by the pump at their tick.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "play/shell.h"
#include "render/picture.h"

namespace quarrow::testing {

class FakeShell final : public Shell {
 public:
  static constexpr std::int64_t kStart = 5'000'000'000;  // far past 2^32: no wrapping anywhere

  void Show() override { ++shows; }
  void PumpEvents(bool midFrame) override;
  void WaitForEvents(std::int64_t tick) override;
  std::int64_t Ticks() override;
  CourtSize CourtInterior() override { return court; }
  Picture& PicMain() override { return picture; }
  bool PictureDue(std::int64_t tick) override { return tick - lastDrawn >= presentInterval; }
  void FrameDone(std::int64_t tick, bool drawn) override;
  bool AskYesNo(const std::string& text) override;
  void MatchSetUp(const std::string& line) override { seedLines.push_back(line); }
  void Announce(const std::string& sentence) override { said.emplace_back(now, sentence); }

  // Runs action at the first pump at or after tick.
  void At(std::int64_t tick, std::function<void()> action) { events.emplace(tick, action); }

  CourtSize court = kStandardCourt;
  std::int64_t now = kStart;
  std::int64_t workPerFrame = 0;
  // When not 0, the clock also moves on by a tick at every so many readings.
  int readingsPerTick = 0;
  int readings = 0;
  // Called after each frame's picture, with the frame's number from 1.
  std::function<void(int)> afterFrame;
  // Called at every pump, with the number of pumps since the last frame.
  std::function<void(int)> onPump;
  std::int64_t presentInterval = 16;
  std::deque<bool> answers;
  std::int64_t stopAfterFrames = 1000;

  // The tick each frame's wait ended with.
  std::vector<std::int64_t> frameStarts;
  std::vector<std::string> questions;
  std::vector<std::string> seedLines;
  std::vector<std::pair<std::int64_t, std::string>> said;
  std::vector<int> questionAtFrame;
  int shows = 0;
  int waits = 0;
  int pumpsSinceFrame = 0;
  int midFramePumps = 0;
  std::vector<int> pumpsBeforeFrame;  // the pumps since the previous frame, for each frame
  std::vector<bool> drawn;            // whether each frame's picture was recorded
  std::int64_t lastDrawn = kStart - 1000;
  Picture picture;

 private:
  void Serve();
  std::multimap<std::int64_t, std::function<void()>> events;
};

}  // namespace quarrow::testing
