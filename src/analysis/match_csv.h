#pragma once

// One CSV row per match: match, frames, winner, every count, the seed of the run it was played in,
// and the run's conditions. Columns are added after the last, so that the others keep their
// places.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/match_record.h"

namespace quarrow::analysis {

// A row's values, each where the column table says.
struct CsvRow {
  std::int64_t match = 0;
  std::int64_t frames = 0;
  std::int64_t winner = 0;  // 0 for a stall
  CountRow counts{};
  std::int64_t seed = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t maxFrames = 0;

  MatchResult Result() const { return {static_cast<std::int16_t>(winner), frames}; }
  RunConditions Conditions() const { return {width, height, maxFrames}; }
};

CsvRow RowOf(std::uint32_t seed, std::int64_t match, const MatchResult& result,
             const CountRow& counts, const RunConditions& conditions);

// A column: its name and where its value lives in a row.
struct CsvColumn {
  std::string name;
  std::int64_t CsvRow::*field = nullptr;  // a value of its own
  std::size_t count = 0;                  // else this one of the counts

  std::int64_t Of(const CsvRow& row) const {
    return field != nullptr ? row.*field : row.counts[count];
  }
  void Set(CsvRow& row, std::int64_t value) const {
    if (field != nullptr) {
      row.*field = value;
    } else {
      row.counts[count] = static_cast<std::int32_t>(value);
    }
  }
};

inline constexpr std::size_t kFirstCountColumn = 3;
inline constexpr std::size_t kConditionColumns = 3;
inline constexpr std::size_t kCsvColumns =
    kFirstCountColumn + kCountColumns + 1 + kConditionColumns;
// Every column in order: the header, the writer, the pool's reader and the summary's names of the
// counts all go by it.
const std::array<CsvColumn, kCsvColumns>& CsvColumns();
// The columns before the CSV carried its conditions, up to and with the seed.
inline constexpr std::size_t kColumnsWithoutConditions = kCsvColumns - kConditionColumns;

// The header line of the first columns, newline included.
void AppendCsvHeader(std::string& out, std::size_t columns = kCsvColumns);

// One match's row, newline included.
void AppendCsvRow(std::string& out, const CsvRow& row);

}  // namespace quarrow::analysis
