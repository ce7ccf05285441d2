// Frames per second of the headless core over whole matches.

#include <benchmark/benchmark.h>

#include "game/platform.h"
#include "sim/frame.h"

namespace {

void BM_HeadlessFrames(benchmark::State& state) {
  quarrow::SeededPlatform platform(1);
  const quarrow::PlatformInstallation installation(platform);
  std::int64_t frames = 0;
  std::int64_t matches = 0;
  for (auto _ : state) {
    // Whole matches, capped so that a rare long match cannot dominate one iteration.
    const quarrow::MatchResult result = quarrow::PlayMatch(200000, [](std::int64_t) {});
    frames += result.frames;
    ++matches;
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_match"] =
      benchmark::Counter(static_cast<double>(frames) / static_cast<double>(matches));
}
BENCHMARK(BM_HeadlessFrames)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
