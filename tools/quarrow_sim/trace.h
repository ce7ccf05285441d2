#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/values.h"

namespace quarrow::runner {

// Appends one JSON Lines record of the whole game state, newline included; one of several runs
// names its seed first.
void AppendTraceRecord(std::string& out, std::int64_t match, std::int64_t frame,
                       std::optional<std::uint32_t> seed = std::nullopt);

// A fixed value with exactly four decimals, as "-0.5000".
void AppendFixed(std::string& out, Fixed v);

}  // namespace quarrow::runner
