#include "options.h"

#include <limits>
#include <utility>

#include "outputs.h"
#include "text/failure.h"

namespace quarrow::runner {
namespace {

// One run for every seed there is; more workers than any machine has cores.
constexpr std::int64_t kMaxRuns = std::int64_t{1} << 32;
constexpr int kMaxJobs = 1024;

// An output's name; "-" for standard output unless it is refused.
Option<Options> File(std::string_view name, std::string_view value, std::string_view help,
                     std::optional<std::string> Options::*field, bool standardOutput) {
  return {name,
          {},
          value,
          help,
          {},
          standardOutput ? "a file name or -" : "a file name",
          "none",
          [field, standardOutput](Options& o, std::string_view text) {
            if (text.empty() || (!standardOutput && text == "-")) {
              return false;
            }
            o.*field = std::string(text);
            return true;
          }};
}

}  // namespace

const OptionTable<Options>& RunnerOptions() {
  static const Options defaults;
  static const OptionTable<Options> table = {
      Whole<Options, std::uint32_t>("--seed", "N", "seed", &Options::seed, 0,
                                    std::numeric_limits<std::uint32_t>::max(),
                                    "from the clock, printed"),
      Whole<Options, std::int64_t>("--runs", "R", "runs, of the seeds S to S+R-1", &Options::runs,
                                   1, kMaxRuns, std::to_string(defaults.runs)),
      Whole<Options, std::int64_t>("--matches", "N", "matches to play in each run",
                                   &Options::matches, 1, kMaxCount,
                                   std::to_string(defaults.matches)),
      Whole<Options, int>("--jobs", "N", "worker processes", &Options::jobs, 1, kMaxJobs,
                          "the number of cores"),
      Whole<Options, std::int64_t>("--max-frames", "N", "then an undecided match is a stall",
                                   &Options::maxFrames, 1, kMaxCount,
                                   std::to_string(defaults.maxFrames)),
      Whole<Options, int>("--width", "W", "court width in pixels", &Options::width, kMinCourtWidth,
                          kMaxCourtSide, std::to_string(defaults.width)),
      Whole<Options, int>("--height", "H", "court height in pixels", &Options::height, 1,
                          kMaxCourtSide, std::to_string(defaults.height)),
      File("--trace", "FILE|-", "state per frame as JSON lines, - for stdout", &Options::trace,
           true),
      File("--csv", "FILE|-", "a row of counts per match, - for stdout", &Options::csv, true),
      {"--summary",
       {},
       "FORMAT",
       "report at the end",
       "text or json",
       "text or json",
       defaults.jsonSummary ? "json" : "text",
       [](Options& o, std::string_view text) {
         o.jsonSummary = text == "json";
         return text == "text" || text == "json";
       }},
      File("--histogram", "FILE", "SVG bar chart of frames per match", &Options::histogram, false),
      File("--gif", "FILE", "the last match as an animated GIF", &Options::gif, false),
      Whole<Options, int>("--gif-every", "N", "keep every Nth frame in the GIF", &Options::gifEvery,
                          1, 100, std::to_string(defaults.gifEvery)),
      {"--pool",
       {},
       "CSV...",
       "sum up these CSVs of earlier runs",
       {},
       "a file name",
       "play",
       [](Options& o, std::string_view text) {
         o.pool.emplace_back(text);
         return !text.empty();
       }},
      Switch("--version", {}, "print the version and exit", &Options::version),
      Switch("--help", "-h", "print this help and exit", &Options::help),
  };
  return table;
}

std::string HelpText() {
  return quarrow::HelpText(
             "usage: quarrow-sim [OPTION]...\n"
             "       quarrow-sim --pool FILE.csv... [OPTION]...\n"
             "Plays matches without a window and reports wins, stalls and speed.\n",
             RunnerOptions()) +
         "\nWith --trace - or --csv -, standard output carries only that data, and the summary\n"
         "goes to standard error.\n";
}

RunConditions ConditionsOf(const Options& options) {
  return {options.width, options.height, options.maxFrames};
}

analysis::CsvLimits CsvLimitsOfRuns() {
  CountRow most;
  most.fill(std::numeric_limits<std::int32_t>::max());
  return {analysis::RowOf(0, 1, {0, 1}, CountRow{}, {kMinCourtWidth, 1, 1}),
          analysis::RowOf(std::numeric_limits<std::uint32_t>::max(), kMaxCount,
                          {kTeamCount, kMaxCount}, most, {kMaxCourtSide, kMaxCourtSide, kMaxCount}),
          {kStandardCourt.width, kStandardCourt.height, kStallFrames}};
}

ParseResult ParseOptions(const std::vector<std::string_view>& args) {
  ParseResult result;
  Options& o = result.options;
  // Operands are more files for --pool; the options they follow are the table's.
  std::vector<std::string_view> named;
  std::vector<std::string_view> operands;
  std::string_view played;  // an option that only playing takes
  for (std::size_t k = 0; k < args.size(); ++k) {
    const auto row = FindOption(RunnerOptions(), args[k]);
    if (row == RunnerOptions().end() && !args[k].starts_with('-')) {
      operands.push_back(args[k]);
      continue;
    }
    named.push_back(args[k]);
    if (row == RunnerOptions().end() || row->value.empty() || k + 1 >= args.size()) {
      continue;
    }
    named.push_back(args[++k]);
    if (row->name != "--pool" && row->name != "--summary" && row->name != "--histogram" &&
        played.empty()) {
      played = row->name;
    }
  }
  result.error = ParseArguments(RunnerOptions(), named, o);
  if (!result.error.empty()) {
    return result;
  }
  if (!operands.empty() && o.pool.empty()) {
    result.error = "unknown argument '" + Escaped(operands.front()) + "'";
  } else if (o.trace == "-" && o.csv == "-") {
    result.error = "--trace and --csv cannot both write to standard output";
  } else if (!o.pool.empty() && !played.empty()) {
    result.error =
        "--pool sums up matches played before; " + std::string(played) + " does not go with it";
  } else if (o.seed && *o.seed + o.runs - 1 >= kMaxRuns) {
    result.error = "--seed " + std::to_string(*o.seed) + " with --runs " + std::to_string(o.runs) +
                   " goes past seed " + std::to_string(kMaxRuns - 1);
  } else if (o.matches > kMaxCount / o.runs) {
    // Every count of the matches played, added up, stays within the counters.
    result.error = "--runs " + std::to_string(o.runs) + " times --matches " +
                   std::to_string(o.matches) + " is more than " + std::to_string(kMaxCount) +
                   " matches";
  }
  o.pool.insert(o.pool.end(), operands.begin(), operands.end());
  return result;
}

namespace {

// Every file the options name, by option, for the check that no two share a file.
std::vector<std::pair<std::string_view, std::string>> NamedFiles(const Options& options) {
  std::vector<std::pair<std::string_view, std::string>> named;
  for (const auto& [option, path] : {std::pair{"--trace", &options.trace},
                                     {"--csv", &options.csv},
                                     {"--histogram", &options.histogram},
                                     {"--gif", &options.gif}}) {
    if (path->has_value()) {
      named.emplace_back(option, **path);
    }
  }
  // A histogram drawn over a CSV being pooled would replace it.
  for (const std::string& path : options.pool) {
    named.emplace_back("--pool", path);
  }
  return named;
}

}  // namespace

Options TakeOptions(const std::vector<std::string_view>& args) {
  ParseResult parsed = ParseOptions(args);
  if (parsed.error.empty() && !parsed.options.help && !parsed.options.version) {
    parsed.error = SharedFileError(NamedFiles(parsed.options));
  }
  if (!parsed.error.empty()) {
    throw Refused(parsed.error + " (see --help)");
  }
  return std::move(parsed.options);
}

}  // namespace quarrow::runner
