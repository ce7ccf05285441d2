// Frames per second of the real window's frame loop in Max mode, and its cost against a headless
// frame measured in the same run.

#include <benchmark/benchmark.h>

#include <chrono>

#include "app/frame_loop.h"
#include "app/main_window.h"
#include "app/shell_platform.h"
#include "game/game_state.h"
#include "sim/frame.h"

namespace {

using Clock = std::chrono::steady_clock;

// The window in every respect but the question, which is answered Yes at once: one run of the
// frame loop is then one match.
class OneMatchShell final : public quarrow::Shell {
 public:
  explicit OneMatchShell(quarrow::Main& window) : window_(window) {}
  void Show() override { window_.Show(); }
  void PumpEvents() override { window_.PumpEvents(); }
  void WaitForEvents(std::int64_t tick) override { window_.WaitForEvents(tick); }
  std::int64_t Ticks() override { return window_.Ticks(); }
  quarrow::CourtSize CourtInterior() override { return window_.CourtInterior(); }
  quarrow::Surface& PicMain() override { return window_.PicMain(); }
  void PictureReady() override { window_.PictureReady(); }
  bool AskYesNo(const std::string&) override { return true; }

 private:
  quarrow::Main& window_;
};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds per headless frame over about as many frames as the window ran.
double HeadlessFrameSeconds(std::int64_t frames) {
  quarrow::SeededPlatform platform(1);
  const quarrow::PlatformInstallation installation(platform);
  std::int64_t done = 0;
  const auto start = Clock::now();
  while (done < frames) {
    done += quarrow::PlayMatch(200000, [](std::int64_t) {}).frames;
  }
  return SecondsSince(start) / static_cast<double>(done);
}

void BM_WindowFramesMaxMode(benchmark::State& state) {
  quarrow::Main window;
  OneMatchShell shell(window);
  quarrow::ShellPlatform platform(shell);
  std::int64_t frames = 0;
  std::int64_t matches = 0;
  double seconds = 0.0;
  {
    const quarrow::PlatformInstallation installation(platform);
    quarrow::MaxMode = quarrow::kTrue;
    shell.Show();
    const std::int64_t before = window.FramesDrawn();
    const auto start = Clock::now();
    for (auto _ : state) {
      quarrow::InitGame();
      quarrow::MainLoop(shell);
      ++matches;
    }
    seconds = SecondsSince(start);
    frames = window.FramesDrawn() - before;
    quarrow::MaxMode = quarrow::kFalse;
  }
  const double windowFrame = seconds / static_cast<double>(frames);
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_match"] =
      benchmark::Counter(static_cast<double>(frames) / static_cast<double>(matches));
  state.counters["x_headless_cost"] = windowFrame / HeadlessFrameSeconds(frames);
}
BENCHMARK(BM_WindowFramesMaxMode)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
