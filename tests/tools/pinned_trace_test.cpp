// Any change to a game result changes one of the hashes in pinned_traces.txt.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The table in pinned_traces.txt, which the WebAssembly runner's test reads too.
std::vector<PinnedRun> PinnedRuns() {
  std::ifstream table(QUARROW_PINNED_TRACES);
  std::vector<PinnedRun> runs;
  std::string line;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') {
      continue;
    }
    std::istringstream fields(line);
    PinnedRun run{};
    fields >> run.seed >> run.matches >> run.maxFrames >> run.court.width >> run.court.height >>
        std::hex >> run.hash;
    EXPECT_FALSE(fields.fail()) << line;
    runs.push_back(run);
  }
  return runs;
}

TEST(PinnedTrace, SeededRunsKeepTheirTraces) {
  const std::vector<PinnedRun> runs = PinnedRuns();
  ASSERT_GE(runs.size(), 7u) << QUARROW_PINNED_TRACES;
  for (const PinnedRun& run : runs) {
    EXPECT_EQ(TraceHash(run), run.hash)
        << "--seed " << run.seed << " --matches " << run.matches << " --max-frames "
        << run.maxFrames << " --width " << run.court.width << " --height " << run.court.height;
  }
}

}  // namespace
}  // namespace quarrow::runner
