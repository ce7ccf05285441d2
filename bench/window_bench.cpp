// Frames per second of the real window's frame loop in Max mode, and what a window frame costs on
// top of a headless one. Headless matches run between the window's, so that both see the same load.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <ctime>

#include "app/main_window.h"
#include "game/game_state.h"
#include "play/frame_loop.h"
#include "play/shell_platform.h"
#include "sim/frame.h"

namespace {

// The window in every respect but the question, which is answered Yes at once: one run of the
// frame loop is then one match.
class OneMatchShell final : public quarrow::Shell {
 public:
  explicit OneMatchShell(quarrow::Main& window) : window_(window) {}
  void Show() override { window_.Show(); }
  void PumpEvents(bool midFrame) override { window_.PumpEvents(midFrame); }
  void WaitForEvents(std::int64_t tick) override { window_.WaitForEvents(tick); }
  std::int64_t Ticks() override { return window_.Ticks(); }
  quarrow::CourtSize CourtInterior() override { return window_.CourtInterior(); }
  quarrow::Picture& PicMain() override { return window_.PicMain(); }
  bool PictureDue(std::int64_t tick) override { return window_.PictureDue(tick); }
  void FrameDone(std::int64_t tick, bool drawn) override { window_.FrameDone(tick, drawn); }
  bool AskYesNo(const std::string&) override { return true; }

 private:
  quarrow::Main& window_;
};

// The loop never blocks in Max mode, so the thread's own time is its cost, whatever else the
// machine runs meanwhile.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_WindowFramesMaxMode(benchmark::State& state) {
  quarrow::Main window;
  OneMatchShell shell(window);
  quarrow::ShellPlatform platform(shell);
  quarrow::SeededPlatform headlessPlatform(1);
  std::int64_t windowFrames = 0;
  std::int64_t headlessFrames = 0;
  std::int64_t matches = 0;
  double windowSeconds = 0.0;
  double headlessSeconds = 0.0;
  quarrow::MaxMode = quarrow::kTrue;
  shell.Show();
  for (auto _ : state) {
    {
      const quarrow::PlatformInstallation installation(platform);
      const std::int64_t before = window.FramesRun();
      const double start = ThreadSeconds();
      quarrow::InitGame();
      quarrow::MainLoop(shell);
      windowSeconds += ThreadSeconds() - start;
      windowFrames += window.FramesRun() - before;
      ++matches;
    }
    state.PauseTiming();
    {
      const quarrow::PlatformInstallation installation(headlessPlatform);
      const double start = ThreadSeconds();
      headlessFrames += quarrow::PlayMatch(200000, [](std::int64_t) {}).frames;
      headlessSeconds += ThreadSeconds() - start;
    }
    state.ResumeTiming();
  }
  quarrow::MaxMode = quarrow::kFalse;
  const double windowFrame = windowSeconds / static_cast<double>(windowFrames);
  const double headlessFrame = headlessSeconds / static_cast<double>(headlessFrames);
  state.SetLabel(QApplication::platformName().toStdString());
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(windowFrames), benchmark::Counter::kIsRate);
  state.counters["frames_per_match"] =
      benchmark::Counter(static_cast<double>(windowFrames) / static_cast<double>(matches));
  state.counters["headless_frames_per_second"] = 1.0 / headlessFrame;
  state.counters["x_headless_cost"] = windowFrame / headlessFrame;
  state.counters["window_ns_per_frame"] = (windowFrame - headlessFrame) * 1e9;
}
BENCHMARK(BM_WindowFramesMaxMode)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
