#pragma once

#include <cstdint>

#include "game/match_record.h"
#include "game/match_setup.h"

namespace quarrow {

// The simulation's share of a frame, in its fixed order: ball, players, back players.
void AdvanceFrame();

namespace detail {
#if defined(__wasm__)
// V8 cannot move a running WebAssembly loop up to its optimising tier, so a frame inlined into a
// whole run would stay on the baseline tier; a call of its own is optimised once it is hot. The
// WebAssembly optimiser inlines every direct call with one caller, so the call goes through a
// pointer it cannot see through.
extern void (*volatile advanceFrameCall)();
inline void CallAdvanceFrame() {
  advanceFrameCall();
}
#else
inline void CallAdvanceFrame() {
  AdvanceFrame();
}
#endif
}  // namespace detail

// The team that has won, or 0 while both teams have lives. When both are out in the same frame,
// team 1 is named: no match gets there (a frame takes at most one life), but the rule names one.
std::int16_t Winner();

// Frames after which the headless runner counts a match still undecided as a stall, by default.
inline constexpr std::int64_t kStallFrames = 200000;

// Plays one match without a window: setup, then frames until a team wins or maxFrames have run.
// onFrame(frame) sees the state after setup (frame 0) and after every frame.
template <typename OnFrame>
MatchResult PlayMatch(std::int64_t maxFrames, OnFrame&& onFrame) {
  InitGame();
  onFrame(std::int64_t{0});
  MatchResult result;
  while (result.frames < maxFrames && result.winner == 0) {
    detail::CallAdvanceFrame();
    result.winner = Winner();
    onFrame(++result.frames);
  }
  return result;
}

}  // namespace quarrow
