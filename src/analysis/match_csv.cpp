#include "analysis/match_csv.h"

#include <charconv>

namespace quarrow::analysis {

const std::array<CsvColumn, kCsvColumns>& CsvColumns() {
  static const std::array<CsvColumn, kCsvColumns> table = [] {
    std::array<CsvColumn, kCsvColumns> columns;
    std::size_t k = 0;
    columns[k++] = {"match", &CsvRow::match};
    columns[k++] = {"frames", &CsvRow::frames};
    columns[k++] = {"winner", &CsvRow::winner};
    std::size_t count = 0;
    for (const CountField& field : kCountFields) {
      if (field.whole != nullptr) {
        columns[k++] = {std::string(field.name), nullptr, count++};
        continue;
      }
      for (int t = 1; t <= kTeamCount; ++t) {
        columns[k++] = {std::string(field.name) + "_" + std::to_string(t), nullptr, count++};
      }
    }
    columns[k++] = {"seed", &CsvRow::seed};
    columns[k++] = {"width", &CsvRow::width};
    columns[k++] = {"height", &CsvRow::height};
    columns[k++] = {"max_frames", &CsvRow::maxFrames};
    return columns;
  }();
  return table;
}

CsvRow RowOf(std::uint32_t seed, std::int64_t match, const MatchResult& result,
             const CountRow& counts, const RunConditions& conditions) {
  return {match, result.frames,    result.winner,     counts,
          seed,  conditions.width, conditions.height, conditions.maxFrames};
}

void AppendCsvHeader(std::string& out, std::size_t columns) {
  for (std::size_t k = 0; k < columns; ++k) {
    out += k == 0 ? "" : ",";
    out += CsvColumns()[k].name;
  }
  out += '\n';
}

void AppendCsvRow(std::string& out, const CsvRow& row) {
  char text[kCsvColumns * 21];
  char* end = text;
  for (const CsvColumn& column : CsvColumns()) {
    end = std::to_chars(end, text + sizeof text, column.Of(row)).ptr;
    *end++ = ',';
  }
  end[-1] = '\n';
  out.append(text, end);
}

}  // namespace quarrow::analysis
