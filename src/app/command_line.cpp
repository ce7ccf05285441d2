#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "build_info.h"
#include "play/names.h"
#include "play/run.h"
#include "text/checked_output.h"
#include "text/escaped.h"
#include "text/option_table.h"

namespace quarrow {
namespace {

// WIDTHxHEIGHT within the runner's limits.
bool TakeCourt(WindowOptions& o, std::string_view text) {
  const std::optional<CourtSize> court = ParseCourt(text);
  if (court) {
    o.court = *court;
  }
  return court.has_value();
}

// The options the window answers itself; whatever else is given goes to Qt.
const OptionTable<WindowOptions>& WindowOptionTable() {
  constexpr auto kMaxSeed = std::numeric_limits<std::uint32_t>::max();
  const std::string standard =
      std::to_string(kStandardCourt.width) + "x" + std::to_string(kStandardCourt.height);
  static const OptionTable<WindowOptions> table = {
      Whole<WindowOptions>("--seed", "N", "play the run of this seed", &WindowOptions::seed,
                           std::uint32_t{0}, kMaxSeed, "clock"),
      Whole<WindowOptions>("--match", "K", "start at match K (needs --seed)", &WindowOptions::match,
                           std::int64_t{1}, kMaxCount, "1"),
      {"--court",
       {},
       "WxH",
       "court interior",
       std::to_string(kMinCourtWidth) + " to " + std::to_string(kMaxCourtSide) + " by 1 to " +
           std::to_string(kMaxCourtSide),
       CourtNeeds(),
       standard,
       TakeCourt},
      Whole<WindowOptions>("--zoom", "N", "draw the window N times larger", &WindowOptions::zoom, 1,
                           4, "1"),
      Switch("--version", {}, "print the version and exit", &WindowOptions::version),
      Switch("--help", "-h", "print this help and exit", &WindowOptions::help),
  };
  return table;
}

std::string HelpText() {
  return quarrow::HelpText(
             std::string("usage: quarrow [OPTION]...\n"
                         "Opens the window \"") +
                 kProgramTitle +
                 "\", where ten computer players play a ball-throwing\n"
                 "game on a split court. \"Max\" runs frames back to back, \"Fast\" shortens the "
                 "frame\n"
                 "interval, and dragging over the court with a mouse button held places a dead "
                 "ball.\n"
                 "Every match set up prints how to see it again on standard output: \"match 3: "
                 "seed\n"
                 "2718281828\" is the first match of quarrow --seed 2718281828.\n",
             WindowOptionTable()) +
         "\nQt's own options, such as -platform NAME, are passed to Qt.\n";
}

// The options Qt takes from the command line, with one dash or two: a switch, an option whose
// value is the next argument, or one that takes "=value" instead.
enum class QtValue { kNone, kNext, kJoined };
struct QtOption {
  std::string_view name;
  QtValue value;
};
constexpr QtOption kQtOptions[] = {
    {"platform", QtValue::kNext},        {"platformpluginpath", QtValue::kNext},
    {"platformtheme", QtValue::kNext},   {"plugin", QtValue::kNext},
    {"qwindowgeometry", QtValue::kNext}, {"qwindowicon", QtValue::kNext},
    {"qwindowtitle", QtValue::kNext},    {"geometry", QtValue::kNext},
    {"title", QtValue::kNext},           {"icon", QtValue::kNext},
    {"display", QtValue::kNext},         {"name", QtValue::kNext},
    {"session", QtValue::kNext},         {"style", QtValue::kNext},
    {"stylesheet", QtValue::kNext},      {"style", QtValue::kJoined},
    {"stylesheet", QtValue::kJoined},    {"qmljsdebugger", QtValue::kJoined},
    {"reverse", QtValue::kNone},         {"testability", QtValue::kNone},
    {"widgetcount", QtValue::kNone},     {"nograb", QtValue::kNone},
    {"dograb", QtValue::kNone},          {"sync", QtValue::kNone},
};

// The Qt option an argument names, if any.
const QtOption* FindQtOption(std::string_view arg) {
  if (!arg.starts_with('-')) {
    return nullptr;
  }
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  const std::size_t equals = arg.find('=');
  const bool joined = equals != std::string_view::npos;
  for (const QtOption& option : kQtOptions) {
    if (option.name == arg.substr(0, equals) && (option.value == QtValue::kJoined) == joined) {
      return &option;
    }
  }
  return nullptr;
}

// One line on standard error and the status of a bad command line.
int Refuse(const std::string& what) {
  std::fprintf(stderr, "quarrow: %s (see --help)\n", what.c_str());
  return 2;
}

// Prints text on standard output; a lost write (a full disk, a closed pipe) is a failure, not a
// quiet success.
int Answer(std::string_view text) {
  try {
    Write(stdout, text, "standard output");
    Finish(stdout, "standard output");
    return 0;
  } catch (const OutputFailed& failure) {
    std::fprintf(stderr, "quarrow: %s\n", failure.what());
    return 1;
  }
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  const OptionTable<WindowOptions>& table = WindowOptionTable();
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (const auto row = FindOption(table, arg); row != table.end()) {
      if (!row->value.empty()) {
        // Checked by TakeWindowOptions, with its value.
        k += k + 1 < argc ? 1 : 0;
        continue;
      }
      WindowOptions options;
      row->take(options, {});
      return Answer(options.help ? HelpText() : std::string("quarrow ") + kVersion + "\n");
    }
    const QtOption* qt = FindQtOption(arg);
    if (qt == nullptr) {
      return Refuse("unknown argument '" + Escaped(arg) + "'");
    }
    if (qt->value == QtValue::kNext && ++k == argc) {
      return Refuse(Escaped(arg) + " needs a value");
    }
  }
  return std::nullopt;
}

bool NamesPlatform(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const QtOption* qt = FindQtOption(argv[k]);
    if (qt != nullptr && qt->name == "platform") {
      return true;
    }
  }
  return false;
}

WindowCommandLine TakeWindowOptions(int& argc, char** argv) {
  const OptionTable<WindowOptions>& table = WindowOptionTable();
  WindowCommandLine result;
  bool matchGiven = false;
  std::vector<std::string_view> ours;
  int kept = 1;
  for (int k = 1; k < argc; ++k) {
    const auto row = FindOption(table, argv[k]);
    if (row == table.end() || row->value.empty()) {
      argv[kept++] = argv[k];
      continue;
    }
    matchGiven = matchGiven || row->name == "--match";
    ours.emplace_back(argv[k]);
    if (k + 1 < argc) {
      ours.emplace_back(argv[++k]);
    }
  }
  argv[kept] = nullptr;
  argc = kept;
  result.error = ParseArguments(table, ours, result.options);
  if (result.error.empty() && matchGiven && !result.options.seed) {
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

bool RefuseLeftoverArguments(int argc, char** argv) {
  if (argc <= 1) {
    return false;
  }
  Refuse("unknown argument '" + Escaped(argv[1]) + "'");
  return true;
}

}  // namespace quarrow
