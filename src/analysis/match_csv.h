#pragma once

// One CSV row per match: match, frames, winner, every count, and the seed of the run it was
// played in (last, so that the columns before it keep their places).

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "sim/frame.h"

namespace quarrow::analysis {

// The header line, newline included.
void AppendCsvHeader(std::string& out);

// One match's row, newline included; winner 0 is a stall.
void AppendCsvRow(std::string& out, std::uint32_t seed, std::int64_t match,
                  const MatchResult& result, const MatchCounts& counts);

}  // namespace quarrow::analysis
