// Any change to a game result changes one of these hashes. A deliberate change of the rules updates
// them, and its commit message says why.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "game/platform.h"
#include "sim/frame.h"
#include "trace.h"

namespace quarrow::runner {
namespace {

struct PinnedRun {
  std::uint32_t seed;
  std::int64_t matches;
  std::int64_t maxFrames;
  CourtSize court;
  std::uint64_t hash;  // FNV-1a 64 of the trace quarrow-sim writes for these arguments
};

std::uint64_t Fnv1a(std::uint64_t hash, const std::string& bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

// The trace of `quarrow-sim --seed S --matches N --max-frames F --width W --height H`.
std::uint64_t TraceHash(const PinnedRun& run) {
  SeededPlatform platform(run.seed, run.court);
  const PlatformInstallation installation(platform);
  std::uint64_t hash = 0xcbf29ce484222325u;
  std::string record;
  for (std::int64_t match = 1; match <= run.matches; ++match) {
    PlayMatch(run.maxFrames, [&](std::int64_t frame) {
      record.clear();
      AppendTraceRecord(record, match, frame);
      hash = Fnv1a(hash, record);
    });
  }
  ResetGameState();
  return hash;
}

TEST(PinnedTrace, SeededRunsKeepTheirTraces) {
  const PinnedRun runs[] = {
      {8, 1, 200000, {257, 169}, 0xac6747fed67f80a2u},
      {13, 1, 200000, {257, 169}, 0xf5b506d1779790dfu},
      {2, 3, 200000, {83, 1}, 0x168ea8c520a4679bu},
      {3, 1, 200000, {200, 120}, 0x73b1440b8c8cca0du},
      {4, 1, 200000, {171, 97}, 0x831ff0f8be961c79u},
      {4, 1, 200000, {900, 600}, 0x832942826781d04fu},
      {6, 1, 300, {257, 169}, 0x0d961e01321169cdu},  // stalled by the frame limit
  };
  for (const PinnedRun& run : runs) {
    EXPECT_EQ(TraceHash(run), run.hash)
        << "--seed " << run.seed << " --matches " << run.matches << " --max-frames "
        << run.maxFrames << " --width " << run.court.width << " --height " << run.court.height;
  }
}

}  // namespace
}  // namespace quarrow::runner
