#include "analysis/match_pool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/histogram_svg.h"
#include "analysis/match_stats.h"
#include "options.h"
#include "text/escaped.h"

namespace quarrow::analysis {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

std::string Header(std::size_t columns = kCsvColumns) {
  std::string header;
  AppendCsvHeader(header, columns);
  return header;
}

// A row a run writes, with column k's text replaced.
std::string Row(std::size_t k = 99, const std::string& text = "", std::int64_t match = 1,
                std::size_t columns = kCsvColumns) {
  std::vector<std::string> fields = {std::to_string(match),
                                     "1500",
                                     "1",
                                     "40",
                                     "39",
                                     "4",
                                     "5",
                                     "1",
                                     "1",
                                     "3",
                                     "2",
                                     "1",
                                     "1",
                                     "7",
                                     "257",
                                     "169",
                                     "200000"};
  fields.resize(columns);
  if (k < columns) {
    fields[k] = text;
  }
  std::string row;
  for (const std::string& field : fields) {
    row += field + ",";
  }
  row.back() = '\n';
  return row;
}

// Matches 7's from..to, in consecutive rows.
std::string Rows(std::int64_t from, std::int64_t to) {
  return from > to ? "" : Row(99, "", from) + Rows(from + 1, to);
}

// Pools files fed in pieces of piece bytes: the refusal, or "" and the summary.
std::string Pool(const Files& files, std::size_t piece, Summary* summary = nullptr) {
  RunStats stats;
  try {
    PoolReader reader(runner::CsvLimitsOfRuns(),
                      [&](const MatchResult& r, const CountRow& c) { AddMatch(stats, r, c); });
    for (const auto& [name, text] : files) {
      reader.StartFile(name);
      for (std::size_t at = 0; at < text.size(); at += piece) {
        reader.Take(std::string_view(text).substr(at, piece));
      }
      reader.EndFile();
    }
    const Pooled pooled = reader.Finish();
    if (summary != nullptr) {
      *summary = Summarize(stats, pooled.conditions, pooled.seeds.lowest, pooled.seeds.highest,
                           pooled.seeds.distinct);
    }
    return "";
  } catch (const PoolRefused& refusal) {
    return refusal.what();
  }
}

TEST(MatchPool, RefusesWhatNoRunWritesNamingFileAndLine) {
  const std::string h = Header(), old = Header(kColumnsWithoutConditions);
  const std::string r = h + Row(), oldRow = Row(99, "", 1, kColumnsWithoutConditions);
  const std::string a13 = h + Rows(1, 3);
  const struct {
    Files files;
    std::string refusal;  // its start; empty for a pool taken
  } cases[] = {
      {{{"a", h + Row(0, "4611686018427387903") + "1,1,2,0,0,0,0,0,0,0,0,0,0,0,257,169,200000\n" +
                  "2,200000,0,0,0,0,0,0,0,0,0,0,0,0,257,169,200000\n"}},
       ""},
      {{{"a", ""}}, "a: empty"},
      {{{"a", h}}, "a: only a header"},
      {{{"a", "match,frames\n"}}, "a:1: not a CSV"},
      {{{"a", r.substr(0, r.size() - 1)}}, "a:2: torn: no line end"},
      {{{"a", h + std::string(4097, '1') + "\n"}}, "a:2: a line too long"},
      {{{"a", r + std::string(4097, '1')}}, "a:3: a line too long"},
      {{{"a", h + Row(99, "", 1, 16)}}, "a:2: a row of 16 fields, where a row has 17"},
      {{{"a", h + Row(16, "200000,")}}, "a:2: a row of 18 fields"},
      {{{"a", old + oldRow}}, ""},
      {{{"a", h + Row(1, "200001")}}, "a:2: frames 200001 beyond the stall limit 200000"},
      {{{"a", old + Row(1, "200001", 1, kColumnsWithoutConditions)}},
       "a:2: frames 200001 beyond the stall limit 200000 (the standard"},
      {{{"a", h + Row(2, "0")}}, "a:2: a stall after 1500 frames, not at the stall limit 200000"},
      // Runs of other conditions, and CSVs that do not say theirs.
      {{{"a", r}, {"b", h + Row(14, "300")}},
       "b:2: court 300x169, stall limit 200000 frames, unlike court 257x169, stall limit 200000 "
       "frames at a:2"},
      {{{"a", r}, {"b", h + Row(16, "1500", 2)}}, "b:2: court 257x169, stall limit 1500 frames,"},
      {{{"a", old + oldRow}, {"b", h + Row(15, "170", 2)}}, "b:2: court 257x170"},
      {{{"a", h + Row(15, "170")}, {"b", old + Row(99, "", 2, kColumnsWithoutConditions)}},
       "b:2: court 257x169, stall limit 200000 frames (the standard: the CSV does not say), "
       "unlike court 257x170"},
      {{{"a", old + oldRow}, {"b", h + Row(99, "", 2)}}, ""},
      // Repeats at the edges of a stretch of matches 1 to 3, in another file and in the same.
      {{{"a", a13}, {"b", h + Rows(1, 1)}}, "b:2: seed 7 match 1 comes twice, also at a:2"},
      {{{"a", a13}, {"b", h + Rows(3, 4)}}, "b:2: seed 7 match 3 comes twice, also at a:4"},
      {{{"a", h + Rows(2, 3)}, {"b", h + Rows(1, 2)}},
       "b:3: seed 7 match 2 comes twice, also at a:2"},
      {{{"a", h + Rows(1, 3) + Rows(3, 3)}}, "a:5: seed 7 match 3 comes twice, also at a:4"},
      {{{"a", a13}, {"b", h + Rows(4, 5) + Row(13, "8", 1)}}, ""},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{5000}}) {
      EXPECT_EQ(Pool(c.files, piece).substr(0, c.refusal.size()), c.refusal)
          << c.files.back().second.substr(0, 300);
    }
  }
  // Fields as the runner never writes them, and values out of what a run can reach: column:text.
  for (const std::string field :
       {"0:0", "0:4611686018427387904", "1:-00", "1:01", "1:+1", "1: 1", "1:", "1:1.0",
        "1:99999999999999999999", "2:3", "3:2147483648", "4:-1", "13:4294967296", "14:82",
        "14:6554", "15:0", "16:0", "16:200000\r"}) {
    const std::size_t column = std::stoul(field);
    const std::string text = field.substr(field.find(':') + 1);
    const std::string expected =
        "a:2: " + CsvColumns()[column].name + " '" + Escaped(text) + "' is not what a run writes";
    EXPECT_EQ(Pool({{"a", h + Row(column, text)}}, 4096).substr(0, expected.size()), expected);
  }
}

TEST(MatchPool, SumsTheLargestValuesARunWritesExactly) {
  const std::string most = "4611686018427387903", count = ",2147483647";
  std::string rows;
  for (int k = 1; k <= 3; ++k) {
    rows += std::to_string(k) + "," + most + ",0";
    for (std::size_t c = 0; c < kCountColumns; ++c) {
      rows += count;
    }
    rows += ",4294967295,6553,6553," + most + "\n";
  }
  Summary s;
  ASSERT_EQ(Pool({{"a", Header() + rows}}, 1 << 20, &s), "");
  EXPECT_NE(SummaryJson(s, -1).find("\"frames\": 13835058055282163709,"), std::string::npos);
  EXPECT_NE(SummaryText(s, -1).find("mean " + most + ".0 "), std::string::npos);
  EXPECT_NE(SummaryText(s, -1).find("hits           4294967294.00"), std::string::npos);
  // Bars inside the plot, also with a match of one frame beside them.
  for (const std::string& first :
       {std::string(),
        "4,1,1" + rows.substr(rows.find(",0,") + 2, rows.find('\n') - 1 - rows.find(",0,"))}) {
    ASSERT_EQ(Pool({{"a", Header() + rows + first}}, 1 << 20, &s), "");
    const std::string svg = HistogramSvg(s);
    std::size_t bar = svg.find("matches</text>"), bars = 0;
    for (; (bar = svg.find("<rect x=\"", bar + 1)) != std::string::npos; ++bars) {
      const double x = std::stod(svg.substr(bar + 9)),
                   width = std::stod(svg.substr(svg.find("width=\"", bar) + 7));
      EXPECT_GT(x, 80);
      EXPECT_GT(width, 10);
      EXPECT_LT(x + width, 770);
    }
    EXPECT_EQ(bars, first.empty() ? 1u : 2u);
  }
}

TEST(MatchPool, ALineTooLongIsRefusedWhereverItSits) {
  // Rows up to just before the reader's 1 MiB block, then a line across it.
  const std::string path = testing::TempDir() + "/long.csv";
  std::string text = Header();
  for (std::int64_t m = 100000; text.size() < (1 << 20) - 100; ++m) {
    text += Row(99, "", m);
  }
  const auto line = std::to_string(std::count(text.begin(), text.end(), '\n') + 1);
  for (std::size_t length : {4096, 4097}) {
    std::ofstream(path, std::ios::binary) << text << std::string(length, '9') << "\n";
    try {
      ReadPool(
          {path}, runner::CsvLimitsOfRuns(), [](auto&, auto&) {}, nullptr);
      ADD_FAILURE() << "taken";
    } catch (const PoolRefused& r) {
      EXPECT_EQ(std::string_view(r.what()).find(
                    line + (length > 4096 ? ": a line too long" : ": match '")),
                path.size() + 1)
          << r.what();
    }
  }
}

}  // namespace
}  // namespace quarrow::analysis
