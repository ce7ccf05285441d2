// Watching a match again: a match written as a GIF, and a seeded window's way to its first match.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "game/platform.h"
#include "match_gif.h"
#include "play/frame_loop.h"
#include "sim/frame.h"

namespace {

// Seed 1's first match with every frame kept, as quarrow-sim --seed 1 --gif writes it.
void BM_GifOfAMatch(benchmark::State& state) {
  std::int64_t frames = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    quarrow::SeededPlatform platform(1);
    const quarrow::PlatformInstallation installation(platform);
    quarrow::runner::MatchGif gif(257, 169, static_cast<int>(state.range(0)));
    const quarrow::MatchResult result =
        quarrow::PlayMatch(quarrow::kStallFrames, [&](std::int64_t frame) {
          if (frame > 0) {
            gif.AfterFrame(frame, quarrow::Winner() != 0);
          }
        });
    frames += result.frames;
    bytes = gif.Finish().size();
  }
  state.counters["match_frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["gif_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GifOfAMatch)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The matches before --match K, against the runner's own loop over as many matches.
void BM_SeededRunReachesItsMatch(benchmark::State& state) {
  constexpr std::int64_t kMatch = 101;
  for (auto _ : state) {
    std::vector<std::int64_t> stalled;
    benchmark::DoNotOptimize(quarrow::SeededRun(1, kMatch, {257, 169}, stalled));
  }
}
BENCHMARK(BM_SeededRunReachesItsMatch)->Unit(benchmark::kMillisecond);

void BM_RunnerPlaysAsManyMatches(benchmark::State& state) {
  constexpr std::int64_t kMatches = 100;
  for (auto _ : state) {
    quarrow::SeededPlatform platform(1);
    const quarrow::PlatformInstallation installation(platform);
    for (std::int64_t k = 0; k < kMatches; ++k) {
      benchmark::DoNotOptimize(quarrow::PlayMatch(quarrow::kStallFrames, [](std::int64_t) {}));
    }
  }
}
BENCHMARK(BM_RunnerPlaysAsManyMatches)->Unit(benchmark::kMillisecond);

}  // namespace
