#include "fake_shell.h"

namespace quarrow::testing {

void FakeShell::Serve() {
  while (!events.empty() && events.begin()->first <= now) {
    const auto action = events.begin()->second;
    events.erase(events.begin());
    action();
  }
}

std::int64_t FakeShell::Ticks() {
  // Max mode may go many frames without a pass of the pump; the end comes at a reading too.
  if (static_cast<std::int64_t>(frameStarts.size()) >= stopAfterFrames) {
    throw ProgramEnd{};
  }
  if (readingsPerTick != 0 && ++readings % readingsPerTick == 0) {
    ++now;
  }
  return now;
}

void FakeShell::PumpEvents(bool midFrame) {
  ++pumpsSinceFrame;
  midFramePumps += midFrame ? 1 : 0;
  if (static_cast<std::int64_t>(frameStarts.size()) >= stopAfterFrames) {
    throw ProgramEnd{};
  }
  Serve();
  if (onPump) {
    onPump(pumpsSinceFrame);
  }
}

void FakeShell::WaitForEvents(std::int64_t tick) {
  ++waits;
  const std::int64_t wake = events.empty() ? tick : std::min(tick, events.begin()->first);
  if (wake > now) {
    now = wake;
  }
  Serve();
}

void FakeShell::FrameDone(std::int64_t tick, bool wasDrawn) {
  frameStarts.push_back(tick);
  drawn.push_back(wasDrawn);
  if (wasDrawn) {
    lastDrawn = tick;
  }
  pumpsBeforeFrame.push_back(pumpsSinceFrame);
  pumpsSinceFrame = 0;
  now += workPerFrame;
  if (afterFrame) {
    afterFrame(static_cast<int>(frameStarts.size()));
  }
}

bool FakeShell::AskYesNo(const std::string& text) {
  questions.push_back(text);
  questionAtFrame.push_back(static_cast<int>(frameStarts.size()));
  if (answers.empty()) {
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace quarrow::testing
