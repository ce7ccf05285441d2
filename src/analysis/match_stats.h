#pragma once

// Per-match counts gathered over a run, and what a person or a script wants to know of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "game/match_record.h"

namespace quarrow::analysis {

// A sum over matches as wide as needed: any number of matches of the longest length a run can
// write sums up exactly, where 64 bits would wrap.
__extension__ typedef __int128 Total;

// The decimal digits of a total.
std::string TotalText(Total total);

// How many matches lasted each number of frames: the percentiles stay exact while the tally grows
// only with the number of different lengths, which --max-frames bounds, and not with the matches.
using FrameTally = std::map<std::int64_t, std::int64_t>;

struct RunStats {
  std::int64_t stalls = 0;
  std::array<std::int64_t, kTeamCount + 1> wins{};
  // Matches by their frames: lengths below kShortFrames by index, which is quicker to count than
  // the map the rest go into.
  static constexpr std::int64_t kShortFrames = std::int64_t{1} << 16;
  std::vector<std::int64_t> shortFrames;
  FrameTally longFrames;
  std::array<Total, kCountColumns> countTotals{};
};

void AddMatch(RunStats& stats, const MatchResult& result, const CountRow& counts);

struct Interval {
  double low = 0, high = 0;
};

// The 95 % Wilson score interval for the true share behind successes out of trials (trials > 0).
Interval WilsonInterval(std::int64_t successes, std::int64_t trials);

// The nearest-rank percentile of the frames of a tally of matches (matches > 0): the smallest value
// with at least percent % of all matches at or below it.
std::int64_t NearestRank(const FrameTally& tally, std::int64_t matches, int percent);

struct Summary {
  RunConditions conditions;
  std::uint32_t seed = 0;  // the lowest of the runs
  std::uint32_t lastSeed = 0;
  std::int64_t runs = 1;  // seeds between seed and lastSeed that were played
  std::int64_t matches = 0;
  Total frames = 0;
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

// Of the matches finished, of runs of the seeds from seed to lastSeed under the same conditions;
// the figures of frames and counts only when there is a match.
Summary Summarize(const RunStats& stats, const RunConditions& conditions, std::uint32_t seed,
                  std::uint32_t lastSeed, std::int64_t runs);
inline Summary Summarize(const RunStats& stats, const RunConditions& conditions,
                         std::uint32_t seed) {
  return Summarize(stats, conditions, seed, seed, 1);
}

// "seed 5", "seeds 5 to 8", or "3 seeds from 5 to 9": the runs a summary covers.
std::string SeedsText(const Summary& summary);
// "court 257x169, stall limit 200000 frames": what the runs were played under.
std::string ConditionsText(const RunConditions& conditions);

// The end-of-run report for people, several lines, and the same as one line of JSON. Frames per
// second below 0 are not known (matches read back rather than played).
std::string SummaryText(const Summary& summary, double framesPerSecond);
std::string SummaryJson(const Summary& summary, double framesPerSecond);

// printf into the end of a string.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

}  // namespace quarrow::analysis
