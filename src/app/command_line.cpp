#include "app/command_line.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "build_info.h"
#include "game/match_setup.h"
#include "text/checked_output.h"
#include "text/escaped.h"

namespace quarrow {
namespace {

constexpr char kHelp[] =
    "usage: quarrow [OPTION]...\n"
    "Opens the window \"Quarrow simulator\", where ten computer players play a ball-throwing\n"
    "game on a split court. \"Max\" runs frames back to back, \"Fast\" shortens the frame\n"
    "interval, and dragging over the court with a mouse button held places a dead ball.\n"
    "\n"
    "Every match set up prints a line on standard output saying how to see it again:\n"
    "\"match 3: seed 2718281828\" is the first match of quarrow --seed 2718281828.\n"
    "\n"
    "  --seed N       play the run quarrow-sim --seed N plays, 0 to 4294967295\n"
    "                 (default: a seed from the clock for every match)\n"
    "  --match K      start at match K of that run, from 1 (default 1; needs --seed)\n"
    "  --court WxH    court interior in pixels, 83 to 6553 by 1 to 6553 (default 257x169)\n"
    "  --zoom N       draw the window N times larger, 1 to 4 (default 1)\n"
    "  --version      print the version and exit\n"
    "  --help, -h     print this help and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, are passed to Qt.\n";

// Prints text on standard output; a lost write (a full disk, a closed pipe) is a failure, not a
// quiet success.
int Answer(std::string_view text) {
  try {
    Write(stdout, text, "standard output");
    Finish(stdout, "standard output");
    return 0;
  } catch (const OutputFailed& failure) {
    std::fprintf(stderr, "quarrow: %s\n", failure.what.c_str());
    return 1;
  }
}

template <typename T>
bool ParseWhole(std::string_view text, T low, T high, T& out) {
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

bool ParseCourt(std::string_view text, CourtSize& court) {
  const std::size_t x = text.find('x');
  return x != std::string_view::npos &&
         ParseWhole(text.substr(0, x), kMinCourtWidth, kMaxCourtSide, court.width) &&
         ParseWhole(text.substr(x + 1), kMinCourtHeight, kMaxCourtSide, court.height);
}

// The error for one option and its value; empty when it was good.
std::string TakeOption(std::string_view flag, std::string_view value, WindowOptions& o,
                       bool& matchGiven) {
  if (flag == "--seed") {
    std::uint32_t seed = 0;
    constexpr auto kMax = std::numeric_limits<std::uint32_t>::max();
    if (!ParseWhole<std::uint32_t>(value, 0, kMax, seed)) {
      return Between(flag, 0, kMax);
    }
    o.seed = seed;
  } else if (flag == "--match") {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max() / 2;
    if (!ParseWhole<std::int64_t>(value, 1, kMax, o.match)) {
      return Between(flag, 1, kMax);
    }
    matchGiven = true;
  } else if (flag == "--court") {
    if (!ParseCourt(value, o.court)) {
      return "--court needs WIDTHxHEIGHT, " + std::to_string(kMinCourtWidth) + " to " +
             std::to_string(kMaxCourtSide) + " by " + std::to_string(kMinCourtHeight) + " to " +
             std::to_string(kMaxCourtSide);
    }
  } else if (!ParseWhole(value, 1, 4, o.zoom)) {
    return Between(flag, 1, 4);
  }
  return {};
}

}  // namespace

WindowCommandLine TakeWindowOptions(int& argc, char** argv) {
  WindowCommandLine result;
  bool matchGiven = false;
  int kept = 1;
  for (int k = 1; k < argc; ++k) {
    const std::string_view flag = argv[k];
    if (flag != "--seed" && flag != "--match" && flag != "--court" && flag != "--zoom") {
      argv[kept++] = argv[k];
      continue;
    }
    if (k + 1 >= argc) {
      result.error = std::string(flag) + " needs a value";
      return result;
    }
    const std::string_view value = argv[++k];
    result.error = TakeOption(flag, value, result.options, matchGiven);
    if (!result.error.empty()) {
      result.error += ", not '" + Escaped(value) + "'";
      return result;
    }
  }
  argv[kept] = nullptr;
  argc = kept;
  if (matchGiven && !result.options.seed) {
    result.error = "--match needs --seed: a match is numbered within a seed's run";
  }
  return result;
}

void ZoomWindow(int zoom) {
  if (zoom == 1) {
    return;
  }
  double scale = 1.0;
  if (const char* asked = std::getenv("QT_SCALE_FACTOR"); asked != nullptr) {
    const double value = std::strtod(asked, nullptr);
    scale = value > 0.0 ? value : 1.0;
  }
  setenv("QT_SCALE_FACTOR", std::to_string(scale * zoom).c_str(), 1);
}

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--help" || arg == "-h") {
      return Answer(kHelp);
    }
    if (arg == "--version") {
      return Answer(std::string("quarrow ") + kVersion + "\n");
    }
  }
  return std::nullopt;
}

bool RefuseLeftoverArguments(int argc, char** argv) {
  if (argc <= 1) {
    return false;
  }
  std::fprintf(stderr, "quarrow: unknown argument '%s' (see --help)\n", Escaped(argv[1]).c_str());
  return true;
}

}  // namespace quarrow
