#pragma once

#include <cstdint>
#include <string>

#include "play/shell.h"

namespace quarrow {

// "Team 2 won the game. Restart?" for winner 2.
std::string RestartQuestion(std::int16_t winner);
// The question of a match given up undecided after kStallFrames, as the runner gives it up.
std::string StalledQuestion();

// Whether the match on screen is over: won, or given up as stalled.
bool MatchOver();
// The question at the end of the match on screen.
std::string EndQuestion();
// Yes or No to it: Restarting is set either way; false when the program is to end.
bool AnswerQuestion(bool yes);

// At a match's end: asks whether to play again and sets Restarting; a No ends the program
// (ProgramEnd) before any further frame.
void CheckWinner(Shell& shell);

}  // namespace quarrow
