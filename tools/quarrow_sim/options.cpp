#include "options.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "text/escaped.h"

namespace quarrow::sim {
namespace {

// The court sizes the rules can serve: zones 1 and 2 need a whole-number x each (83), and the
// aiming sums of five players stay within int16 (6553).
constexpr int kMinWidth = 83;
constexpr int kMaxSide = 6553;
// One run for every seed there is; more workers than any machine has cores.
constexpr std::int64_t kMaxRuns = std::int64_t{1} << 32;
constexpr int kMaxJobs = 1024;

template <typename T>
bool ParseInteger(std::string_view text, T low, T high, T& out) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
    return false;
  }
  out = value;
  return true;
}

std::string Between(std::string_view flag, long long low, long long high) {
  return std::string(flag) + " needs a whole number from " + std::to_string(low) + " to " +
         std::to_string(high);
}

}  // namespace

const std::vector<OptionHelp> kOptionHelp = {
    {"--seed", "N", "random seed, 0 to 4294967295 (default: clock, printed)"},
    {"--runs", "R", "runs, seeds S to S+R-1, from 1 (default 1)"},
    {"--matches", "N", "matches to play in each run, from 1 (default 1)"},
    {"--jobs", "N", "worker processes for the runs, 1 to 1024 (default: cores)"},
    {"--max-frames", "N", "then an undecided match is a stall, from 1 (default 200000)"},
    {"--width", "W", "court width in pixels, 83 to 6553 (default 257)"},
    {"--height", "H", "court height in pixels, 1 to 6553 (default 169)"},
    {"--trace", "FILE|-", "state per frame as JSON lines, - for stdout (default none)"},
    {"--csv", "FILE|-", "a row of counts per match, - for stdout (default none)"},
    {"--summary", "FORMAT", "text or json; percentiles by nearest rank (default text)"},
    {"--histogram", "FILE", "SVG bar chart of frames per match (default none)"},
    {"--pool", "FILE...", "sum up these CSV files instead of playing (default: play)"},
    {"--version", "", "print the version and exit"},
    {"--help", "", "print this help and exit (also -h)"},
};

std::string HelpText() {
  std::string text =
      "usage: quarrow-sim [OPTION]...\n"
      "       quarrow-sim --pool FILE.csv... [OPTION]...\n"
      "Plays matches without a window and reports wins, stalls and speed.\n\n";
  for (const OptionHelp& option : kOptionHelp) {
    std::string left = "  " + std::string(option.flag);
    if (!option.value.empty()) {
      left += " " + std::string(option.value);
    }
    left.resize(std::max<std::size_t>(left.size() + 2, 20), ' ');
    text += left + std::string(option.text) + "\n";
  }
  text +=
      "\nWith --trace - or --csv -, standard output carries only that data and the summary\n"
      "goes to standard error.\n";
  return text;
}

ParseResult ParseOptions(const std::vector<std::string_view>& args) {
  ParseResult result;
  Options& o = result.options;
  constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 2;
  bool pooling = false;
  bool endOfOptions = false;
  std::vector<std::string_view> played;  // options that only playing takes
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string_view flag = args[k];
    if (endOfOptions || !flag.starts_with("-")) {
      o.pool.emplace_back(flag);
      continue;
    }
    if (flag == "--help" || flag == "-h") {
      o.help = true;
      continue;
    }
    if (flag == "--version") {
      o.version = true;
      continue;
    }
    if (flag == "--") {
      endOfOptions = true;
      continue;
    }
    const auto known = std::find_if(kOptionHelp.begin(), kOptionHelp.end(),
                                    [&](const OptionHelp& h) { return h.flag == flag; });
    if (known == kOptionHelp.end()) {
      result.error = "unknown argument '" + Escaped(flag) + "'";
      return result;
    }
    if (k + 1 >= args.size()) {
      result.error = std::string(flag) + " needs a value";
      return result;
    }
    const std::string_view value = args[++k];
    if (flag == "--pool") {
      pooling = true;
      o.pool.emplace_back(value);
      continue;
    }
    if (flag != "--summary" && flag != "--histogram") {
      played.push_back(flag);
    }
    bool ok = true;
    if (flag == "--seed") {
      std::uint32_t seed = 0;
      ok = ParseInteger<std::uint32_t>(value, 0, std::numeric_limits<std::uint32_t>::max(), seed);
      o.seed = seed;
      if (!ok) {
        result.error = Between(flag, 0, std::numeric_limits<std::uint32_t>::max());
      }
    } else if (flag == "--jobs") {
      int jobs = 0;
      ok = ParseInteger(value, 1, kMaxJobs, jobs);
      o.jobs = jobs;
      if (!ok) {
        result.error = Between(flag, 1, kMaxJobs);
      }
    } else if (flag == "--runs") {
      ok = ParseInteger<std::int64_t>(value, 1, kMaxRuns, o.runs);
      if (!ok) {
        result.error = Between(flag, 1, kMaxRuns);
      }
    } else if (flag == "--matches" || flag == "--max-frames") {
      std::int64_t& target = flag == "--matches" ? o.matches : o.maxFrames;
      ok = ParseInteger<std::int64_t>(value, 1, kMaxCount, target);
      if (!ok) {
        result.error = Between(flag, 1, kMaxCount);
      }
    } else if (flag == "--width") {
      ok = ParseInteger(value, kMinWidth, kMaxSide, o.width);
      if (!ok) {
        result.error = Between(flag, kMinWidth, kMaxSide);
      }
    } else if (flag == "--height") {
      ok = ParseInteger(value, 1, kMaxSide, o.height);
      if (!ok) {
        result.error = Between(flag, 1, kMaxSide);
      }
    } else if (flag == "--trace") {
      if (value.empty()) {
        result.error = "--trace needs a file name or -";
        return result;
      }
      o.trace = std::string(value);
    } else if (flag == "--csv") {
      if (value.empty()) {
        result.error = "--csv needs a file name or -";
        return result;
      }
      o.csv = std::string(value);
    } else if (flag == "--histogram") {
      if (value.empty() || value == "-") {
        result.error = "--histogram needs a file name";
        return result;
      }
      o.histogram = std::string(value);
    } else if (flag == "--summary") {
      o.jsonSummary = value == "json";
      if (value != "text" && value != "json") {
        result.error = "--summary needs text or json";
      }
    }
    if (!result.error.empty()) {
      result.error += ", not '" + Escaped(value) + "'";
      return result;
    }
  }
  if (o.trace == "-" && o.csv == "-") {
    result.error = "--trace and --csv cannot both write to standard output";
  } else if (pooling && !played.empty()) {
    result.error = "--pool sums up matches played before; " + std::string(played.front()) +
                   " does not go with it";
  } else if (!pooling && !o.pool.empty()) {
    result.error = "unknown argument '" + Escaped(o.pool.front()) + "'";
  } else if (o.seed && static_cast<std::int64_t>(*o.seed) + o.runs - 1 > kMaxRuns - 1) {
    result.error = "--seed " + std::to_string(*o.seed) + " with --runs " + std::to_string(o.runs) +
                   " goes past seed 4294967295";
  }
  return result;
}

}  // namespace quarrow::sim
