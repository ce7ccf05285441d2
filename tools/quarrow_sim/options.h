#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/match_pool.h"
#include "game/match_record.h"
#include "game/platform.h"
#include "sim/frame.h"
#include "text/option_table.h"

namespace quarrow::runner {

struct Options {
  std::optional<std::uint32_t> seed;
  std::int64_t runs = 1;     // seeds seed, seed + 1, ...
  std::int64_t matches = 1;  // in each run
  std::int64_t maxFrames = kStallFrames;
  int width = kStandardCourt.width;
  int height = kStandardCourt.height;
  std::optional<std::string> trace;  // a file name, or "-" for standard output
  std::optional<std::string> csv;    // a file name, or "-" for standard output
  std::optional<std::string> histogram;
  std::optional<std::string> gif;  // the last match as an animated GIF
  int gifEvery = 1;
  bool jsonSummary = false;
  std::optional<int> jobs;        // worker processes; default: the cores this process may use
  std::vector<std::string> pool;  // CSV files to sum up instead of playing
  bool help = false;
  bool version = false;
};

// Every option the runner takes: the parser and --help both read it, and a test holds the manual
// to it.
const OptionTable<Options>& RunnerOptions();

struct ParseResult {
  Options options;
  std::string error;  // empty when the arguments were good
};

// The options in args, or what is wrong with them; never throws but for memory.
ParseResult ParseOptions(const std::vector<std::string_view>& args);

// The options in args, checked as a run needs them (no two outputs on one file, which looks at
// the file system); throws Refused, status 2, with the line to show.
Options TakeOptions(const std::vector<std::string_view>& args);

std::string HelpText();

// The conditions a run's options set.
RunConditions ConditionsOf(const Options& options);

// What a run can write with any options: the pool reader takes this and nothing else.
analysis::CsvLimits CsvLimitsOfRuns();

}  // namespace quarrow::runner
