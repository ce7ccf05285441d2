#pragma once

// Matches read back from the CSV files of any number of runs, from anywhere, to be summed up as
// if one run had played them all.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/match_stats.h"
#include "sim/frame.h"
#include "text/failure.h"

namespace quarrow::analysis {

// Thrown for a file that is not one of ours, or whose rows are torn or repeated; the line starts
// with the file and line.
struct PoolRefused : Refused {
  using Refused::Refused;
};

// The seeds the pooled matches were played with.
struct PoolSeeds {
  std::uint32_t lowest = 0;
  std::uint32_t highest = 0;
  std::int64_t distinct = 0;
};

// Reads every row of every file, in order, handing each match to onMatch; refuses the whole pool
// when a match (a seed and a match number) comes twice, in one file or in two.
PoolSeeds ReadPool(const std::vector<std::string>& files,
                   const std::function<void(const MatchResult&, const CountRow&)>& onMatch);

}  // namespace quarrow::analysis
