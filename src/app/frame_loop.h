#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/shell.h"
#include "game/twister_random.h"

namespace quarrow {

inline constexpr std::int64_t kNormalInterval = 50;
inline constexpr std::int64_t kFastInterval = 3;

// The matches a window plays: by default each from a seed of its own taken from the clock; with a
// seed, the run the headless runner plays from it, from a given match on.
struct WindowRun {
  std::optional<std::uint32_t> seed;
  std::int64_t firstMatch = 1;
  // The run's source as the first match's setup finds it; only with a seed.
  std::optional<TwisterRandom> source;
};

// The run of seed from match on: the matches before it are played at once, without a window, as
// quarrow-sim plays them. Those that stall are listed in stalled.
WindowRun SeededRun(std::uint32_t seed, std::int64_t match, CourtSize court,
                    std::vector<std::int64_t>& stalled);

// "match 3: seed 2718281828" for a clock seed (the first match of its run), "match 3 of seed 1"
// in a seeded run.
std::string SeedLine(std::int64_t match, std::uint32_t seed, bool seededRun);

// Show, set up a match, run its frame loop; again after every restart, in this one loop. Leaves
// only by ProgramEnd.
[[noreturn]] void Form_Load(Shell& shell, const WindowRun& run = {});

// Frames until a decided match is to be restarted.
void MainLoop(Shell& shell);

// Serves events until the tick counter has passed NextTick; at least one pass of the pump. In Max
// mode it returns at once, after a pass only if none has been made at this tick. Returns the
// counter's last reading, taken after the last pass.
std::int64_t WaitForFrame(Shell& shell, std::int64_t NextTick);

}  // namespace quarrow
