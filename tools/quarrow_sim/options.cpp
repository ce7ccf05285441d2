#include "options.h"

#include <limits>

namespace quarrow::runner {
namespace {

// Counts stay far from overflow when added up over a run.
constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 2;

// A whole-number option from low to high: help shows the range, a refusal the same.
template <typename T, typename Field>
Option<Options> Whole(std::string_view name, std::string_view value, std::string_view help,
                      Field field, T low, T high, std::string byDefault) {
  const std::string from = std::to_string(low);
  return {name,
          {},
          value,
          help,
          high == kMaxCount ? "from " + from : from + " to " + std::to_string(high),
          "a whole number from " + from + " to " + std::to_string(high),
          std::move(byDefault),
          TakeWhole<Options>(field, low, high)};
}

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

Option<Options> Switch(std::string_view name, std::string_view alias, std::string_view help,
                       bool Options::*field) {
  return {name, alias, {}, help, {}, {}, {}, [field](Options& o, std::string_view) {
            o.*field = true;
            return true;
          }};
}

}  // namespace

const OptionTable<Options>& RunnerOptions() {
  static const Options defaults;
  static const OptionTable<Options> table = {
      Whole<std::uint32_t>("--seed", "N", "seed", &Options::seed, 0,
                           std::numeric_limits<std::uint32_t>::max(), "from the clock, printed"),
      Whole<std::int64_t>("--matches", "N", "matches to play", &Options::matches, 1, kMaxCount,
                          std::to_string(defaults.matches)),
      Whole<std::int64_t>("--max-frames", "N", "then an undecided match is a stall",
                          &Options::maxFrames, 1, kMaxCount, std::to_string(defaults.maxFrames)),
      Whole<int>("--width", "W", "court width in pixels", &Options::width, kMinCourtWidth,
                 kMaxCourtSide, std::to_string(defaults.width)),
      Whole<int>("--height", "H", "court height in pixels", &Options::height, 1, kMaxCourtSide,
                 std::to_string(defaults.height)),
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
      Whole<int>("--gif-every", "N", "keep every Nth frame in the GIF", &Options::gifEvery, 1, 100,
                 std::to_string(defaults.gifEvery)),
      Switch("--version", {}, "print the version and exit", &Options::version),
      Switch("--help", "-h", "print this help and exit", &Options::help),
  };
  return table;
}

std::string HelpText() {
  return quarrow::HelpText(
      "usage: quarrow-sim [OPTION]...\n"
      "Plays matches without a window and reports wins, stalls and speed.\n",
      RunnerOptions());
}

ParseResult ParseOptions(const std::vector<std::string_view>& args) {
  ParseResult result;
  result.error = ParseArguments(RunnerOptions(), args, result.options);
  if (result.error.empty() && result.options.trace == "-" && result.options.csv == "-") {
    result.error = "--trace and --csv cannot both write to standard output";
  }
  return result;
}

}  // namespace quarrow::runner
