#include "app/command_line.h"

#include <cstdio>
#include <string_view>

#include "build_info.h"

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

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("quarrow %s\n", kVersion);
      return 0;
    }
  }
  return std::nullopt;
}

bool RefuseLeftoverArguments(int argc, char** argv) {
  if (argc <= 1) {
    return false;
  }
  std::fprintf(stderr, "quarrow: unknown argument '%s' (see --help)\n", argv[1]);
  return true;
}

}  // namespace quarrow
