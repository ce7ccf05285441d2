// The pool reader on any files: each is taken whole or refused with one line, never a crash or a
// hang, and whatever it takes is summed up, as JSON and as a histogram, without overflow. The
// input is cut at form feeds into up to four files, so that repeats and unlike runs across files
// are tried too; each file is handed over in two pieces cut at its first byte's value, so that
// rows torn across reads are tried as well.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/histogram_svg.h"
#include "analysis/match_pool.h"
#include "analysis/match_stats.h"
#include "fuzz_input.h"
#include "options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace analysis = quarrow::analysis;
  analysis::RunStats stats;
  std::int64_t matches = 0;
  try {
    analysis::PoolReader reader(
        quarrow::runner::CsvLimitsOfRuns(),
        [&](const quarrow::MatchResult& result, const quarrow::CountRow& counts) {
          analysis::AddMatch(stats, result, counts);
          ++matches;
        });
    int file = 0;
    for (const std::string& bytes : quarrow::fuzz::Pieces(data, size, '\f', 4)) {
      reader.StartFile(std::to_string(++file) + ".csv");
      const std::size_t cut =
          bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % (bytes.size() + 1);
      reader.Take(std::string_view(bytes).substr(0, cut));
      reader.Take(std::string_view(bytes).substr(cut));
      reader.EndFile();
    }
    const analysis::Pooled pooled = reader.Finish();
    const analysis::Summary summary = analysis::Summarize(
        stats, pooled.conditions, pooled.seeds.lowest, pooled.seeds.highest, pooled.seeds.distinct);
    if (summary.matches != matches) {
      std::abort();  // the summary counts what was read
    }
    (void)analysis::SummaryJson(summary, -1);
    (void)analysis::HistogramSvg(summary);
  } catch (const analysis::PoolRefused& refusal) {
    const std::string_view line = refusal.what();
    if (line.empty() || line.find('\n') != std::string_view::npos) {
      std::abort();  // a refusal is one line
    }
  }
  return 0;
}
