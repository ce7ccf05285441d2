#include "analysis/match_stats.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/match_csv.h"

namespace quarrow::analysis {
namespace {

TEST(MatchStats, WilsonIntervalAgainstHandValues) {
  struct Case {
    std::int64_t wins, trials;
    double low, high;
  };
  const Case cases[] = {
      {5, 10, 0.2366, 0.7634}, {3, 20, 0.0524, 0.3604}, {0, 10, 0, 0.2775}, {10, 10, 0.7225, 1}};
  for (const Case& c : cases) {
    const Interval i = WilsonInterval(c.wins, c.trials);
    EXPECT_NEAR(i.low, c.low, 5e-5) << c.wins << " of " << c.trials;
    EXPECT_NEAR(i.high, c.high, 5e-5) << c.wins << " of " << c.trials;
    EXPECT_GE(i.low, 0);
    EXPECT_LE(i.high, 1);
  }
}

TEST(MatchStats, NearestRankPercentiles) {
  const std::vector<std::int64_t> ten = {3, 6, 7, 8, 8, 10, 13, 15, 16, 20};
  const std::pair<int, std::int64_t> cases[] = {{1, 3},   {25, 7},  {50, 8},
                                                {75, 15}, {90, 16}, {99, 20}};
  for (auto [percent, value] : cases) {
    EXPECT_EQ(NearestRank(ten, percent), value) << percent;
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
    AddMatch(stats, MatchResult{winners[k], frames[k]}, counts);
  }
  // The JSON shows the whole summary.
  const std::string json = SummaryJson(Summarize(stats, 9), 1000);
  EXPECT_EQ(json.find('\n'), json.size() - 1);
  const std::string parts[] = {
      "{\"seed\": 9, \"matches\": 4, \"frames\": 100, \"stalls\": 1, \"teams\": [",
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
  AddMatch(stalled, MatchResult{0, 5}, MatchCounts{});
  EXPECT_NE(SummaryJson(Summarize(stalled, 1), 0)
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
      {"match", "7"},           {"frames", "1234"},     {"winner", "2"},
      {"throws", "11"},         {"pickups", "12"},      {"hits_1", "13"},
      {"hits_2", "14"},         {"returns_1", "15"},    {"returns_2", "16"},
      {"lives_lost_1", "17"},   {"lives_lost_2", "18"}, {"back_entries_1", "19"},
      {"back_entries_2", "20"}, {"seed", "4294967295"}};
  std::string text;
  AppendCsvHeader(text);
  AppendCsvRow(text, 4294967295u, 7, MatchResult{2, 1234}, counts);
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
