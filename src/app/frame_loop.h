#pragma once

#include <cstdint>

#include "app/shell.h"

namespace quarrow {

inline constexpr std::int64_t kNormalInterval = 50;
inline constexpr std::int64_t kFastInterval = 3;

// Show, set up a match, run its frame loop; again after every restart, in this one loop. Leaves
// only by ProgramEnd.
[[noreturn]] void Form_Load(Shell& shell);

// Frames until a decided match is to be restarted.
void MainLoop(Shell& shell);

// Serves events until the tick counter has passed NextTick; at least one pass of the pump. In Max
// mode it returns at once, after a pass only if none has been made at this tick. Returns the
// counter's last reading, taken after the last pass.
std::int64_t WaitForFrame(Shell& shell, std::int64_t NextTick);

}  // namespace quarrow
