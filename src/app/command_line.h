#pragma once

#include <optional>

namespace quarrow {

// Answers --help and --version, and refuses what neither the window nor Qt takes, before Qt
// starts: all of it works without a display. Returns the exit status when the program ends here.
std::optional<int> AnswerCommandLine(int argc, char** argv);

// Whether Qt is told its platform on the command line, which then needs no display configured.
bool NamesPlatform(int argc, char** argv);

// After Qt has taken its own options: anything left is a mistake worth one line and status 2.
bool RefuseLeftoverArguments(int argc, char** argv);

}  // namespace quarrow
