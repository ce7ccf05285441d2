#include "analysis/match_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/histogram_svg.h"
#include "analysis/match_csv.h"

namespace quarrow::analysis {
namespace {

constexpr RunConditions kConditions{257, 169, 200000};

TEST(MatchStats, WilsonIntervalAgainstHandValues) {
  struct Case {
    std::int64_t wins, trials;
    double low, high;
  };
  const Case cases[] = {{5, 10, 0.2366, 0.7634},
                        {3, 20, 0.0524, 0.3604},
                        {0, 10, 0, 0.2775},
                        {10, 10, 0.7225, 1},
                        {16, 16, 0.8064, 1}};  // unclamped, 1 + 2^-52
  for (const Case& c : cases) {
    const Interval i = WilsonInterval(c.wins, c.trials);
    EXPECT_NEAR(i.low, c.low, 5e-5) << c.wins << " of " << c.trials;
    EXPECT_NEAR(i.high, c.high, 5e-5) << c.wins << " of " << c.trials;
    EXPECT_GE(i.low, 0);
    EXPECT_LE(i.high, 1);
  }
}

TEST(MatchStats, NearestRankPercentiles) {
  // The tally gives what sorting every match's frames would, and grows only with the lengths.
  std::mt19937 random(5);
  for (int n : {1, 6, 10, 101, 1000}) {
    std::vector<std::int64_t> sorted(static_cast<std::size_t>(n));
    RunStats stats;
    for (std::int64_t& frames : sorted) {
      AddMatch(stats, MatchResult{1, frames = static_cast<std::int64_t>(random() % 40)},
               CountRow{});
    }
    const FrameTally tally = Summarize(stats, kConditions, 1).frameTally;
    std::sort(sorted.begin(), sorted.end());
    for (int percent = 1; percent <= 100; ++percent) {
      const auto rank = static_cast<std::size_t>(std::ceil(percent * n / 100.0));
      ASSERT_EQ(NearestRank(tally, n, percent), sorted[rank - 1]) << percent << " % of " << n;
    }
    // One entry for each length that occurs, not for each match.
    EXPECT_EQ(tally.size(), static_cast<std::size_t>(std::distance(
                                sorted.begin(), std::unique(sorted.begin(), sorted.end()))));
  }
  // Of six matches the 90th percentile is the longest: rank ceil(5.4).
  RunStats six;
  for (std::int64_t frames : {60, 10, 50, 20, 40, 30}) {
    AddMatch(six, MatchResult{1, frames}, CountRow{});
  }
  EXPECT_EQ(Summarize(six, kConditions, 1).p90Frames, 60);
}

// Parses every match of what a regular expression finds, by its group.
std::vector<std::int64_t> Numbers(const std::string& text, const char* pattern, int group) {
  std::vector<std::int64_t> found;
  const std::regex expression(pattern);
  for (std::sregex_iterator m(text.begin(), text.end(), expression), end; m != end; ++m) {
    found.push_back(std::stoll((*m)[group]));
  }
  return found;
}

TEST(MatchStats, HistogramBinsEveryMatchOnAnAxisCoveringThemAll) {
  std::mt19937 random(3);
  // Bars of 5 frames end at 1055, between ticks 10 apart.
  for (auto [n, shortest, longest] :
       {std::tuple{1, 2468, 2468}, {6, 37, 4451}, {1000, 1003, 1051}}) {
    RunStats stats;
    for (int k = 0; k < n; ++k) {
      const auto spread = static_cast<std::int64_t>(random()) % (longest - shortest + 1);
      AddMatch(stats, MatchResult{1, shortest + spread}, CountRow{});
    }
    const Summary summary = Summarize(stats, kConditions, 1);
    const std::string svg = HistogramSvg(summary);
    const char* bar = "<title>(\\d+) to (\\d+) frames: (\\d+) matches</title>";
    const auto counts = Numbers(svg, bar, 3), ticks = Numbers(svg, "middle\">(\\d+)</text>", 1);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::int64_t{0}), n);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.front(), Numbers(svg, bar, 1).front()) << n;
    EXPECT_LE(summary.maxFrames, Numbers(svg, bar, 2).back()) << n;
    EXPECT_GT(ticks.back(), Numbers(svg, bar, 2).back()) << n;
  }
}

TEST(MatchStats, SummaryAndItsJson) {
  RunStats stats;
  const std::int64_t frames[] = {30, 10, 40, 20};
  const std::int16_t winners[] = {1, 2, 0, 1};
  for (int k = 0; k < 4; ++k) {
    MatchCounts counts;
    counts.throws = k + 1;
    counts.backEntries[2] = k == 3 ? 2 : 0;
    AddMatch(stats, MatchResult{winners[k], frames[k]}, CountValues(counts));
  }
  // The JSON shows the whole summary.
  const std::string json = SummaryJson(Summarize(stats, kConditions, 9), 1000);
  EXPECT_EQ(json.find('\n'), json.size() - 1);
  const std::string parts[] = {
      "{\"seed\": 9, \"width\": 257, \"height\": 169, \"max_frames\": 200000, \"matches\": 4, "
      "\"frames\": 100, \"stalls\": 1, \"teams\": [",
      "{\"team\": 1, \"wins\": 2, \"share\": 0.6666666666666666, \"low\": 0.2076",
      "{\"team\": 2, \"wins\": 1, \"share\": 0.3333333333333333, \"low\": 0.0614",
      "\"frames_per_match\": {\"mean\": 25, \"median\": 20, \"p90\": 40, \"p99\": 40, \"max\": 40}",
      "\"means\": {\"throws\": 2.5, \"pickups\": 0, \"hits_1\": 0,",
      "\"back_entries_2\": 0.5}, \"frames_per_second\": 1000}\n"};
  std::size_t at = 0;
  for (const std::string& part : parts) {
    const std::size_t found = json.find(part, at);
    ASSERT_NE(found, std::string::npos) << part << "\nin " << json;
    at = found + part.size();
  }

  // Without a decided match there are no shares to give.
  RunStats stalled;
  AddMatch(stalled, MatchResult{0, 5}, CountRow{});
  EXPECT_NE(SummaryJson(Summarize(stalled, kConditions, 1), 0)
                .find("\"wins\": 0, \"share\": null, \"low\": null, \"high\": null}]"),
            std::string::npos);
}

TEST(MatchCsv, HeaderNamesEveryColumnOfItsRows) {
  const MatchCounts counts{.throws = 11,
                           .pickups = 12,
                           .hits = {0, 13, 14},
                           .returns = {0, 15, 16},
                           .livesLost = {0, 17, 18},
                           .backEntries = {0, 19, 20}};
  const std::map<std::string, std::string> expected = {
      {"match", "7"},           {"frames", "1234"},      {"winner", "2"},
      {"throws", "11"},         {"pickups", "12"},       {"hits_1", "13"},
      {"hits_2", "14"},         {"returns_1", "15"},     {"returns_2", "16"},
      {"lives_lost_1", "17"},   {"lives_lost_2", "18"},  {"back_entries_1", "19"},
      {"back_entries_2", "20"}, {"seed", "4294967295"},  {"width", "257"},
      {"height", "169"},        {"max_frames", "200000"}};
  std::string text;
  AppendCsvHeader(text);
  AppendCsvRow(text, RowOf(4294967295u, 7, MatchResult{2, 1234}, CountValues(counts), kConditions));
  std::vector<std::vector<std::string>> lines(1);
  for (std::string field; char c : text) {
    if (c == ',' || c == '\n') {
      lines.back().push_back(field);
      field.clear();
      lines.resize(lines.size() + (c == '\n'));
    } else {
      field += c;
    }
  }
  ASSERT_EQ(lines.size(), 3u);  // two lines and what follows the last newline
  ASSERT_EQ(lines[0].size(), expected.size());
  ASSERT_EQ(lines[1].size(), expected.size());
  EXPECT_EQ(lines[0][0], "match");
  for (std::size_t k = 0; k < expected.size(); ++k) {
    ASSERT_TRUE(expected.contains(lines[0][k])) << lines[0][k];
    EXPECT_EQ(lines[1][k], expected.at(lines[0][k])) << lines[0][k];
  }
}

}  // namespace
}  // namespace quarrow::analysis
