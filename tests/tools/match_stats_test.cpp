#include "match_stats.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "match_csv.h"

namespace quarrow::sim {
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
  const std::vector<std::int64_t> five = {15, 20, 35, 40, 50};
  const std::vector<std::int64_t> ten = {3, 6, 7, 8, 8, 10, 13, 15, 16, 20};
  const std::pair<int, std::int64_t> ofFive[] = {{5, 15}, {30, 20}, {40, 20}, {50, 35}, {100, 50}};
  const std::pair<int, std::int64_t> ofTen[] = {{25, 7}, {50, 8}, {75, 15}, {90, 16}, {99, 20}};
  for (auto [percent, value] : ofFive) {
    EXPECT_EQ(NearestRank(five, percent), value) << percent;
  }
  for (auto [percent, value] : ofTen) {
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
  const Summary s = Summarize(stats, 9);
  EXPECT_EQ(s.matches, 4);
  EXPECT_EQ(s.frames, 100);
  EXPECT_EQ(s.stalls, 1);
  EXPECT_EQ(s.Decided(), 3);
  EXPECT_DOUBLE_EQ(s.share[1], 2.0 / 3);
  EXPECT_DOUBLE_EQ(s.meanFrames, 25);
  EXPECT_EQ(s.medianFrames, 20);
  EXPECT_EQ(s.p90Frames, 40);
  EXPECT_EQ(s.maxFrames, 40);
  EXPECT_DOUBLE_EQ(s.countMeans[0], 2.5);
  EXPECT_DOUBLE_EQ(s.countMeans[kCountColumns - 1], 0.5);

  const std::string json = SummaryJson(s, 1000);
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
      {"match", "7"},          {"frames", "1234"},       {"winner", "2"},
      {"throws", "11"},        {"pickups", "12"},        {"hits_1", "13"},
      {"hits_2", "14"},        {"returns_1", "15"},      {"returns_2", "16"},
      {"lives_lost_1", "17"},  {"lives_lost_2", "18"},   {"back_entries_1", "19"},
      {"back_entries_2", "20"}};
  std::string text;
  AppendCsvHeader(text);
  AppendCsvRow(text, 7, MatchResult{2, 1234}, counts);

  const auto fields = [](const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
      out.push_back(field);
    }
    return out;
  };
  std::stringstream lines(text);
  std::string header, row, rest;
  std::getline(lines, header);
  std::getline(lines, row);
  EXPECT_FALSE(std::getline(lines, rest));
  const std::vector<std::string> names = fields(header);
  const std::vector<std::string> values = fields(row);
  ASSERT_EQ(names.size(), expected.size());
  ASSERT_EQ(values.size(), names.size());
  EXPECT_EQ(names[0], "match");
  for (std::size_t k = 0; k < names.size(); ++k) {
    ASSERT_TRUE(expected.contains(names[k])) << names[k];
    EXPECT_EQ(values[k], expected.at(names[k])) << names[k];
  }
}

}  // namespace
}  // namespace quarrow::sim
