#pragma once

// A picture of how many frames the matches of a run lasted.

#include <cstdint>
#include <string>
#include <vector>

#include "match_stats.h"

namespace quarrow::sim {

// An SVG bar chart of frames per match, with the run's median and 90th percentile marked.
std::string HistogramSvg(const std::vector<std::int64_t>& frames, const Summary& summary);

}  // namespace quarrow::sim
