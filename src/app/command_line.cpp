#include "app/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "build_info.h"
#include "text/checked_output.h"
#include "text/escaped.h"
#include "text/option_table.h"

namespace quarrow {
namespace {

struct WindowOptions {
  bool help = false;
  bool version = false;
};

// The options the window answers itself; whatever else is given goes to Qt.
const OptionTable<WindowOptions>& WindowOptionTable() {
  const auto flag = [](bool WindowOptions::*field) {
    return [field](WindowOptions& o, std::string_view) { return o.*field = true; };
  };
  static const OptionTable<WindowOptions> table = {
      {"--version",
       {},
       {},
       "print the version and exit",
       {},
       {},
       {},
       flag(&WindowOptions::version)},
      {"--help", "-h", {}, "print this help and exit", {}, {}, {}, flag(&WindowOptions::help)},
  };
  return table;
}

std::string HelpText() {
  return quarrow::HelpText(
             "usage: quarrow [OPTION]...\n"
             "Opens the window \"Quarrow simulator\", where ten computer players play a "
             "ball-throwing\n"
             "game on a split court. \"Max\" runs frames back to back, \"Fast\" shortens the "
             "frame\n"
             "interval, and dragging over the court with a mouse button held places a dead ball.\n",
             WindowOptionTable()) +
         "\nQt's own options, such as -platform NAME, are passed to Qt.\n";
}

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

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  const OptionTable<WindowOptions>& table = WindowOptionTable();
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    const auto row = FindOption(table, arg);
    if (row == table.end()) {
      continue;
    }
    WindowOptions options;
    row->take(options, {});
    return Answer(options.help ? HelpText() : std::string("quarrow ") + kVersion + "\n");
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
