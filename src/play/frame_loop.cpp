#include "play/frame_loop.h"

#include <limits>

#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "play/announce.h"
#include "play/check_winner.h"
#include "play/names.h"
#include "play/placement.h"
#include "play/shell_platform.h"
#include "render/draw_court.h"
#include "sim/frame.h"
#include "text/option_table.h"

namespace quarrow {

std::int64_t MatchFrames = 0;
bool Paused = false;
bool StepWanted = false;

void PauseClick() {
  Paused = !Paused;
  StepWanted = false;
}

void StepClick() {
  StepWanted = Paused;
}

std::string WindowTitle() {
  std::string title = kProgramTitle;
  if (Paused) {
    title += " (paused)";
  }
  return title;
}

void StartMatch() {
  InitGame();
  MatchFrames = 0;
  ResetAnnouncements();
  LeavePlacement();
}

void PlayFrame() {
  AdvanceFrame();
  ++MatchFrames;
}

WindowRun SeededRun(std::uint32_t seed, std::int64_t match, CourtSize court,
                    std::vector<std::int64_t>& stalled) {
  SeededPlatform platform(seed, court);
  PlayOn on = PlayOnTo(seed, match);
  {
    const PlatformInstallation installation(platform);
    PlayOnFrames(on, kMaxCount);
  }
  stalled = on.stalled;
  return WindowRun{seed, match, *platform.Random()};
}

std::optional<WindowRun> SeededRun(PlayOn& on, CourtSize court, double (*clock)(),
                                   const std::function<void(const std::string&)>& say) {
  SeededPlatform platform(on.seed, court);
  {
    const PlatformInstallation installation(platform);
    while (!PlayOnSlice(on, clock, kProgressIntervalMs)) {
      if (!on.news.empty()) {
        say(on.news);
        on.news.clear();
      }
    }
  }
  if (!on.refusal.empty()) {
    return std::nullopt;
  }
  return WindowRun{on.seed, on.target, *platform.Random()};
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
  MatchFrames = 0;
  ResetAnnouncements();
  LeavePlacement();
  while (Restarting == kFalse) {
    // One clock reading a frame serves both the deadline and the picture's turn on screen.
    const std::int64_t tick = WaitForFrame(shell, NextTick);
    // Counted from the end of the wait: time lost to a slow frame is not made up.
    NextTick = NextDeadline(tick);
    PlayFrame();
    // Max mode runs thousands of frames to every one a screen shows: only those are recorded.
    const bool draw = MaxMode == kFalse || shell.PictureDue(tick);
    if (draw) {
      DrawCourt(shell.PicMain());
    }
    shell.FrameDone(tick, draw);
    if (const std::string sentence = NextAnnouncement(static_cast<double>(tick));
        !sentence.empty()) {
      shell.Announce(sentence);
    }
    CheckWinner(shell);
  }
}

std::int64_t WaitForFrame(Shell& shell, std::int64_t NextTick) {
  for (;;) {
    if (MaxMode != kFalse) {
      // At most one pass a tick: what a frame computes never depends on how often events are
      // served.
      const std::int64_t tick = shell.Ticks();
      if (!shell.PumpEventsOncePerTick(tick, false) && !Paused) {
        return tick;
      }
    } else {
      shell.PumpEvents(false);
    }
    const std::int64_t tick = shell.Ticks();
    if (Paused) {
      if (StepWanted) {
        StepWanted = false;
        return tick;
      }
      // Idle, as at the question: only an event ends the wait.
      shell.WaitForEvents(std::numeric_limits<std::int64_t>::max() / 2);
      continue;
    }
    if (tick > NextTick || MaxMode != kFalse) {
      return tick;
    }
    shell.WaitForEvents(NextTick + 1);
  }
}

}  // namespace quarrow
