#pragma once

#include <cstdint>
#include <string>

#include "app/shell.h"

namespace quarrow {

// "Team 2 won the game. Restart?" for winner 2.
std::string RestartQuestion(std::int16_t winner);

// At a decided match: asks whether to play again and sets Restarting; a No ends the program
// (ProgramEnd) before any further frame.
void CheckWinner(Shell& shell);

}  // namespace quarrow
