#pragma once

// The program's names: the page's files are given them when they are built.

#include <string>

namespace quarrow {

// The window's title and the page's.
inline constexpr const char* kProgramTitle = "Quarrow simulator";
// The caption of the end-of-match question.
inline constexpr const char* kApplicationTitle = "Quarrow";

// The window's title as the play loop stands: "Quarrow simulator (paused)" while paused.
std::string WindowTitle();

}  // namespace quarrow
