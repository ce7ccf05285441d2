#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "play/pace.h"
#include "play/run.h"
#include "play/shell.h"

namespace quarrow {

// The frames of the match on screen: the stall rule counts them. A run of the frame loop starts
// them from 0, as a front end that cannot block does at its match setup.
extern std::int64_t MatchFrames;

// A paused match runs no frame and its front end idles; StepWanted asks for one frame meanwhile.
extern bool Paused;
extern bool StepWanted;
// P pauses or resumes; "." plays one frame while paused.
void PauseClick();
void StepClick();

// Sets up a match to be shown by a front end that cannot block: InitGame, its frames from 0.
void StartMatch();
// One frame of the match on screen.
void PlayFrame();

// The deadline of the next wait, from the reading the last wait ended with.
inline std::int64_t NextDeadline(std::int64_t tick) {
  return tick + (FastMode != kFalse ? kFastInterval : kNormalInterval);
}

// The run of seed from match on: the matches before it are played at once, without a window, as
// quarrow-sim plays them. Those that stall are listed in stalled.
WindowRun SeededRun(std::uint32_t seed, std::int64_t match, CourtSize court,
                    std::vector<std::int64_t>& stalled);
// The same a slice at a time, on.seed's run to on.target, saying its progress; none when the
// target is out of reach (on.refusal says why).
std::optional<WindowRun> SeededRun(PlayOn& on, CourtSize court, double (*clock)(),
                                   const std::function<void(const std::string&)>& say);

// Show, set up a match, run its frame loop; again after every restart, in this one loop. Leaves
// only by ProgramEnd.
[[noreturn]] void Form_Load(Shell& shell, const WindowRun& run = {});

// Frames until a decided match is to be restarted.
void MainLoop(Shell& shell);

// Serves events until the tick counter has passed NextTick; at least one pass of the pump. In Max
// mode it returns at once, after a pass only if none has been made at this tick. While paused it
// blocks until a step is asked for or the pause ends. Returns the
// counter's last reading, taken after the last pass.
std::int64_t WaitForFrame(Shell& shell, std::int64_t NextTick);

}  // namespace quarrow
