#pragma once

// One CSV row per match: match, frames, winner and then every count.

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "sim/frame.h"

namespace quarrow::runner {

// The header line, newline included.
void AppendCsvHeader(std::string& out);

// One match's row, newline included; winner 0 is a stall.
void AppendCsvRow(std::string& out, std::int64_t match, const MatchResult& result,
                  const MatchCounts& counts);

}  // namespace quarrow::runner
