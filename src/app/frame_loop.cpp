#include "app/frame_loop.h"

#include "app/check_winner.h"
#include "app/shell_platform.h"
#include "game/game_state.h"
#include "game/match_setup.h"
#include "render/draw_court.h"
#include "sim/frame.h"

namespace quarrow {

void Form_Load(Shell& shell) {
  ShellPlatform platform(shell);
  const PlatformInstallation installation(platform);
  for (;;) {
    shell.Show();
    InitGame();
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
