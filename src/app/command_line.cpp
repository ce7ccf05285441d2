#include "app/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "build_info.h"
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
    "  --version    print the version and exit\n"
    "  --help, -h   print this help and exit\n"
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

}  // namespace

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
