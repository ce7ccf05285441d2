#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarrow::sim {

struct Options {
  std::optional<std::uint32_t> seed;
  std::int64_t runs = 1;     // seeds seed, seed + 1, ...
  std::int64_t matches = 1;  // in each run
  std::int64_t maxFrames = 200000;
  int width = 257;
  int height = 169;
  std::optional<std::string> trace;  // a file name, or "-" for standard output
  std::optional<std::string> csv;    // a file name, or "-" for standard output
  std::optional<std::string> histogram;
  bool jsonSummary = false;
  std::optional<int> jobs;        // worker processes; default: the cores this process may use
  std::vector<std::string> pool;  // CSV files to sum up instead of playing
  bool help = false;
  bool version = false;
};

struct ParseResult {
  Options options;
  std::string error;  // empty when the arguments were good
};

ParseResult ParseOptions(const std::vector<std::string_view>& args);

// Every option the parser accepts, with its line of help; a flag missing here is refused.
struct OptionHelp {
  std::string_view flag;
  std::string_view value;  // empty for a switch
  std::string_view text;
};
extern const std::vector<OptionHelp> kOptionHelp;

std::string HelpText();

}  // namespace quarrow::sim
