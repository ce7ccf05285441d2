#pragma once

#include <optional>

namespace quarrow {

// Answers --help and --version before Qt starts, so that both work without a display. Returns
// the exit status when the program ends here.
std::optional<int> AnswerCommandLine(int argc, char** argv);

// After Qt has taken its own options: anything left is a mistake worth one line and status 2.
bool RefuseLeftoverArguments(int argc, char** argv);

}  // namespace quarrow
