#include "options.h"

#include <charconv>
#include <limits>

#include "output.h"

namespace quarrow::sim {
namespace {

// The court sizes the rules can serve: zones 1 and 2 need a whole-number x each (83), and the
// aiming sums of five players stay within int16 (6553).
constexpr int kMinWidth = 83;
constexpr int kMaxSide = 6553;

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

const char* const kUsage =
    "usage: quarrow-sim [--seed N] [--matches N] [--max-frames N] [--width W] [--height H] "
    "[--trace FILE|-]";

ParseResult ParseOptions(const std::vector<std::string_view>& args) {
  ParseResult result;
  Options& o = result.options;
  constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 2;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string_view flag = args[k];
    if (flag == "--help" || flag == "-h") {
      o.help = true;
      continue;
    }
    if (flag != "--seed" && flag != "--matches" && flag != "--max-frames" && flag != "--width" &&
        flag != "--height" && flag != "--trace") {
      result.error = "unknown argument '" + Escaped(flag) + "'";
      return result;
    }
    if (k + 1 >= args.size()) {
      result.error = std::string(flag) + " needs a value";
      return result;
    }
    const std::string_view value = args[++k];
    bool ok = true;
    if (flag == "--seed") {
      std::uint32_t seed = 0;
      ok = ParseInteger<std::uint32_t>(value, 0, std::numeric_limits<std::uint32_t>::max(), seed);
      o.seed = seed;
      if (!ok) {
        result.error = Between(flag, 0, std::numeric_limits<std::uint32_t>::max());
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
    }
    if (!result.error.empty()) {
      result.error += ", not '" + Escaped(value) + "'";
      return result;
    }
  }
  return result;
}

}  // namespace quarrow::sim
