#pragma once

// Independent runs played in worker processes, each with the core's one state to itself, and
// handed back in run order as if they had been played here one after another.

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "game/match_record.h"
#include "text/failure.h"

namespace quarrow::runner {

// What a run hands back, in the order it happens: trace text in whole records, and after each
// match its result and counts.
struct RunOutput {
  std::function<void(std::string_view)> trace;
  std::function<void(const MatchResult&, const CountRow&)> match;
};

// Plays run `run` (0 for the first), handing what it produces to `out`.
using PlayRun = std::function<void(std::int64_t run, const RunOutput& out)>;

// Thrown when a worker died or failed: status 1.
struct WorkerFailed : ProgramExit {
  explicit WorkerFailed(std::string line) : ProgramExit(1, std::move(line)) {}
};

// The cores this process may run on; 1 where it cannot start workers (WebAssembly).
int UsableCores();

// Plays runs 0 to runs - 1 with `play` in `jobs` worker processes (here, with jobs 1), and hands
// their trace text and matches to `out` in run order. Returns early, with every worker gone,
// once `stop` (set by a SIGINT or SIGTERM handler) is not 0; throws WorkerFailed when a worker
// ends before its last run, and passes on what `out` throws, with every worker gone too.
void PlayRuns(std::int64_t runs, int jobs, const PlayRun& play, const RunOutput& out,
              const volatile std::sig_atomic_t& stop);

}  // namespace quarrow::runner
