#include "app/frame_loop.h"

#include "app/check_winner.h"
#include "app/shell_platform.h"
#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "render/draw_court.h"
#include "sim/frame.h"

namespace quarrow {

WindowRun SeededRun(std::uint32_t seed, std::int64_t match, CourtSize court,
                    std::vector<std::int64_t>& stalled) {
  SeededPlatform platform(seed, court);
  {
    const PlatformInstallation installation(platform);
    for (std::int64_t k = 1; k < match; ++k) {
      if (PlayMatch(kStallFrames, [](std::int64_t) {}).winner == 0) {
        stalled.push_back(k);
      }
    }
  }
  return WindowRun{seed, match, *platform.Random()};
}

std::string SeedLine(std::int64_t match, std::uint32_t seed, bool seededRun) {
  const std::string number = "match " + std::to_string(match);
  return seededRun ? number + " of seed " + std::to_string(seed)
                   : number + ": seed " + std::to_string(seed);
}

void Form_Load(Shell& shell, const WindowRun& run) {
  ShellPlatform platform(shell, run.source ? &*run.source : nullptr);
  const PlatformInstallation installation(platform);
  for (std::int64_t match = run.firstMatch;; ++match) {
    shell.Show();
    InitGame();
    shell.MatchSetUp(
        SeedLine(match, run.seed.value_or(platform.ClockSeedUsed()), run.source.has_value()));
    MainLoop(shell);
  }
}

void MainLoop(Shell& shell) {
  Restarting = kFalse;
  std::int64_t NextTick = 0;
  while (Restarting == kFalse) {
    // One clock reading a frame serves both the deadline and the picture's turn on screen.
    const std::int64_t tick = WaitForFrame(shell, NextTick);
    // Counted from the end of the wait: time lost to a slow frame is not made up.
    NextTick = tick + (FastMode != kFalse ? kFastInterval : kNormalInterval);
    AdvanceFrame();
    // Max mode runs thousands of frames to every one a screen shows: only those are recorded.
    const bool draw = MaxMode == kFalse || shell.PictureDue(tick);
    if (draw) {
      DrawCourt(shell.PicMain());
    }
    shell.FrameDone(tick, draw);
    CheckWinner(shell);
  }
}

std::int64_t WaitForFrame(Shell& shell, std::int64_t NextTick) {
  for (;;) {
    if (MaxMode != kFalse) {
      // At most one pass a tick: what a frame computes never depends on how often events are
      // served.
      const std::int64_t tick = shell.Ticks();
      if (!shell.PumpEventsOncePerTick(tick, false)) {
        return tick;
      }
    } else {
      shell.PumpEvents(false);
    }
    const std::int64_t tick = shell.Ticks();
    if (tick > NextTick || MaxMode != kFalse) {
      return tick;
    }
    shell.WaitForEvents(NextTick + 1);
  }
}

}  // namespace quarrow
