#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/platform.h"

namespace quarrow {

// Answers --help and --version, and refuses what neither the window nor Qt takes, before Qt
// starts: all of it works without a display. Returns the exit status when the program ends here.
std::optional<int> AnswerCommandLine(int argc, char** argv);

// What the window is asked to play, and how large.
struct WindowOptions {
  std::optional<std::uint32_t> seed;  // none: a clock seed for every match
  std::int64_t match = 1;             // the first match of the seed's run to show
  CourtSize court = kStandardCourt;
  int zoom = 1;
  bool help = false;
  bool version = false;
};

struct WindowCommandLine {
  WindowOptions options;
  std::string error;  // empty when the options were good
};

// Takes the window's own options out of argv before Qt sees it, leaving Qt's options and anything
// unknown in place.
WindowCommandLine TakeWindowOptions(int& argc, char** argv);

// Draws the whole window zoom times larger, on top of any scale already asked of Qt. Call before
// the application object exists.
void ZoomWindow(int zoom);

// Whether Qt is told its platform on the command line, which then needs no display configured.
bool NamesPlatform(int argc, char** argv);

// After Qt has taken its own options: anything left is a mistake worth one line and status 2.
bool RefuseLeftoverArguments(int argc, char** argv);

}  // namespace quarrow
