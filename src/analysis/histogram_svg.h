#pragma once

// A picture of how many frames the matches of a run lasted.

#include <string>

#include "analysis/match_stats.h"

namespace quarrow::analysis {

// An SVG bar chart of frames per match, with the run's median and 90th percentile marked.
std::string HistogramSvg(const Summary& summary);

}  // namespace quarrow::analysis
