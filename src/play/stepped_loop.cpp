#include "play/stepped_loop.h"

#include "game/game_state.h"
#include "play/announce.h"
#include "play/check_winner.h"
#include "play/frame_loop.h"
#include "play/inputs.h"
#include "play/pace.h"
#include "play/placement.h"

namespace quarrow {

void PagePlatform::Reseed() {
  if (!seeded_) {
    seed_ = ClockSeed();
    random_.Seed(seed_);
  }
}

void PagePlatform::SeedRun(std::optional<std::uint32_t> seed) {
  seeded_ = seed.has_value();
  if (seed) {
    seed_ = *seed;
    random_.Seed(seed_);
  }
}

namespace {

struct SteppedRun {
  PagePlatform platform;
  RunAddress address;
  PlayOn on;
  double nextTick = 0;
  SteppedView view;
};

SteppedRun run;

void Changed() {
  ++run.view.revision;
}

void ShowMatch() {
  StartMatch();
  Restarting = kFalse;
  run.nextTick = 0;  // the first frame runs at once
  const bool seeded = run.address.seed.has_value();
  const std::uint32_t seed = run.platform.Seed();
  SteppedView& v = run.view;
  v.stage = Stage::kPlaying;
  v.question.clear();
  v.shareLine =
      "This match: " + (seeded ? SeedLine(v.match, seed, true) : "seed " + std::to_string(seed)) +
      ", ";
  v.shareLink = ShareLink(v.match, seed, seeded, v.court);
  Changed();
}

// Frames until the slice's end or the match's.
std::int64_t MaxSlice(double now, double (*clock)(), double& tick) {
  std::int64_t frames = 0;
  const double sliceEnd = now + kSliceMs;
  do {
    for (int k = 0; k < kSliceFrames && !MatchOver(); ++k) {
      PlayFrame();
      ++frames;
    }
    tick = clock();
  } while (tick < sliceEnd && !MatchOver());
  return frames;
}

double PlayOnPass(double (*clock)()) {
  SteppedView& v = run.view;
  if (!PlayOnSlice(run.on, clock, kSliceMs)) {
    if (!run.on.news.empty()) {
      v.status = run.on.news;
      run.on.news.clear();
      Changed();
    }
    return 0;
  }
  if (!run.on.refusal.empty()) {
    v.status = run.on.refusal + ": playing from the clock.";
    run.address.seed.reset();
    run.platform.SeedRun(std::nullopt);
    v.match = 1;
  } else {
    v.status = run.address.problem;
  }
  ShowMatch();
  return 0;
}

}  // namespace

const SteppedView& View() {
  return run.view;
}

void BeginSteppedRun(std::string_view query) {
  run.address = ReadAddress(query);
  run.platform.SetCourt(run.address.court);
  run.platform.SeedRun(run.address.seed);
  SetPlatform(&run.platform);
  SteppedView& v = run.view;
  v.court = run.address.court;
  v.match = run.address.match;
  v.status = run.address.problem;
  if (run.address.match > 1) {
    run.on = PlayOnTo(*run.address.seed, run.address.match);
    v.stage = Stage::kPlayingOn;
    v.status = "Playing on to match " + std::to_string(v.match) + " of seed " +
               std::to_string(run.on.seed) + "\u2026";
    Changed();
    return;
  }
  ShowMatch();
}

double SteppedPass(double now, double (*clock)()) {
  SteppedView& v = run.view;
  v.framesLastPass = 0;
  if (v.stage == Stage::kPlayingOn) {
    return PlayOnPass(clock);
  }
  if (v.stage != Stage::kPlaying) {
    return -1;
  }
  if (Paused && !StepWanted) {
    return -1;
  }
  const bool step = Paused;
  StepWanted = false;
  const bool max = MaxMode != kFalse && !step;
  if (!max && !step && !(now > run.nextTick)) {
    // A timer for the long part of a wait, passes at once for its last few milliseconds.
    const double left = run.nextTick - now;
    return left > kTimerSlackMs + 1 ? left - kTimerSlackMs : 0;
  }
  double tick = now;
  if (max) {
    v.framesLastPass = MaxSlice(now, clock, tick);
  } else {
    PlayFrame();
    v.framesLastPass = 1;
  }
  // Counted from the end of the wait, with the clock's fraction of a millisecond.
  run.nextTick = tick + static_cast<double>(FastMode != kFalse ? kFastInterval : kNormalInterval);
  if (std::string sentence = NextAnnouncement(tick); !sentence.empty()) {
    v.announcement = std::move(sentence);
    ++v.announcements;
    Changed();
  }
  if (MatchOver()) {
    v.stage = Stage::kAsking;
    v.question = EndQuestion();
    Changed();
    return -1;
  }
  return 0;
}

void SteppedAnswer(bool yes) {
  SteppedView& v = run.view;
  if (v.stage != Stage::kAsking) {
    return;
  }
  if (AnswerQuestion(yes)) {
    ++v.match;
    ShowMatch();
    return;
  }
  v.stage = Stage::kEnded;
  v.status = "The simulation has ended. Reload the page to start it again.";
  Changed();
}

void SteppedMaxClick() {
  if (run.view.stage == Stage::kPlaying) {
    Command1_Click();
    Changed();
  }
}

void SteppedPauseClick() {
  if (run.view.stage == Stage::kPlaying) {
    PauseClick();
    Changed();
  }
}

void SteppedStepClick() {
  if (run.view.stage == Stage::kPlaying) {
    StepClick();
  }
}

void SteppedFastClick() {
  if (run.view.stage == Stage::kPlaying) {
    Command2_Click();
    Changed();
  }
}

void SteppedMouseMove(int buttons, float x, float y) {
  if (run.view.stage == Stage::kPlaying) {
    PicMain_MouseMove(static_cast<std::int16_t>(buttons), 0, x, y);
  }
}

bool SteppedCourtKey(int key, bool shift) {
  if (run.view.stage != Stage::kPlaying || key < 0 || key > static_cast<int>(CourtKey::kLeave)) {
    return false;
  }
  return PicMain_KeyDown(static_cast<CourtKey>(key), shift);
}

}  // namespace quarrow
