#include "analysis/match_csv.h"

#include "analysis/match_stats.h"

namespace quarrow::analysis {

void AppendCsvHeader(std::string& out) {
  out += "match,frames,winner";
  for (std::string_view name : kCountNames) {
    out += ',';
    out += name;
  }
  out += ",seed\n";
}

void AppendCsvRow(std::string& out, std::uint32_t seed, std::int64_t match,
                  const MatchResult& result, const MatchCounts& counts) {
  AppendFormat(out, "%lld,%lld,%d", static_cast<long long>(match),
               static_cast<long long>(result.frames), result.winner);
  for (std::int32_t value : CountValues(counts)) {
    AppendFormat(out, ",%d", value);
  }
  AppendFormat(out, ",%u\n", seed);
}

}  // namespace quarrow::analysis
