#pragma once

// Per-match counts gathered over a run, and what a person or a script wants to know of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "game/game_state.h"
#include "sim/frame.h"

namespace quarrow::analysis {

// The counts of a match as columns, in the order of kCountFields: a per-team count has one column
// for each team.
inline constexpr std::size_t kCountColumns = [] {
  std::size_t columns = 0;
  for (const CountField& field : kCountFields) {
    columns += field.whole != nullptr ? 1 : kTeamCount;
  }
  return columns;
}();
using CountRow = std::array<std::int32_t, kCountColumns>;
extern const std::array<std::string, kCountColumns> kCountNames;
CountRow CountValues(const MatchCounts& counts);

// How many matches lasted each number of frames: the percentiles stay exact while the tally grows
// only with the number of different lengths, which --max-frames bounds, and not with the matches.
using FrameTally = std::map<std::int64_t, std::int64_t>;

struct RunStats {
  std::int64_t stalls = 0;
  std::array<std::int64_t, kTeamCount + 1> wins{};
  FrameTally frames;
  std::array<std::int64_t, kCountColumns> countTotals{};
};

void AddMatch(RunStats& stats, const MatchResult& result, const CountRow& counts);
inline void AddMatch(RunStats& stats, const MatchResult& result, const MatchCounts& counts) {
  AddMatch(stats, result, CountValues(counts));
}

struct Interval {
  double low = 0, high = 0;
};

// The 95 % Wilson score interval for the true share behind successes out of trials (trials > 0).
Interval WilsonInterval(std::int64_t successes, std::int64_t trials);

// The nearest-rank percentile of the frames of a tally of matches (matches > 0): the smallest value
// with at least percent % of all matches at or below it.
std::int64_t NearestRank(const FrameTally& tally, std::int64_t matches, int percent);

struct Summary {
  std::uint32_t seed = 0;  // the lowest of the runs
  std::uint32_t lastSeed = 0;
  std::int64_t runs = 1;  // seeds between seed and lastSeed that were played
  std::int64_t matches = 0;
  std::int64_t frames = 0;
  std::int64_t stalls = 0;
  std::array<std::int64_t, kTeamCount + 1> wins{};
  // Of decided matches; meaningful only when some match was decided.
  std::array<double, kTeamCount + 1> share{};
  std::array<Interval, kTeamCount + 1> interval{};
  // Frames per match, and figures of them.
  FrameTally frameTally;
  double meanFrames = 0;
  std::int64_t medianFrames = 0, p90Frames = 0, p99Frames = 0, maxFrames = 0;
  std::array<double, kCountColumns> countMeans{};
  // A signal stopped the run: the figures are of the matches finished before it.
  bool interrupted = false;

  std::int64_t Decided() const { return wins[1] + wins[2]; }
};

// Of the matches finished, of runs of the seeds from seed to lastSeed; the figures of frames and
// counts only when there is a match.
Summary Summarize(const RunStats& stats, std::uint32_t seed, std::uint32_t lastSeed,
                  std::int64_t runs);
inline Summary Summarize(const RunStats& stats, std::uint32_t seed) {
  return Summarize(stats, seed, seed, 1);
}

// "seed 5", "seeds 5 to 8", or "3 seeds from 5 to 9": the runs a summary covers.
std::string SeedsText(const Summary& summary);

// The end-of-run report for people, several lines, and the same as one line of JSON. Frames per
// second below 0 are not known (matches read back rather than played).
std::string SummaryText(const Summary& summary, double framesPerSecond);
std::string SummaryJson(const Summary& summary, double framesPerSecond);

// printf into the end of a string.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

}  // namespace quarrow::analysis
