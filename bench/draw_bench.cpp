// What recording one frame's picture costs: the window does it every frame at the normal and Fast
// pace, and in Max mode once a screen refresh.

#include <benchmark/benchmark.h>

#include "game/match_setup.h"
#include "game/platform.h"
#include "render/draw_court.h"
#include "render/picture.h"

namespace {

void BM_DrawCourtRecording(benchmark::State& state) {
  quarrow::SeededPlatform platform(1);
  const quarrow::PlatformInstallation installation(platform);
  quarrow::InitGame();
  quarrow::Picture picture;
  for (auto _ : state) {
    quarrow::DrawCourt(picture);
    benchmark::DoNotOptimize(picture);
  }
}
BENCHMARK(BM_DrawCourtRecording);

}  // namespace
