#include "app/check_winner.h"

#include "game/game_state.h"
#include "sim/frame.h"

namespace quarrow {

std::string RestartQuestion(std::int16_t winner) {
  return "Team " + std::to_string(winner) + " won the game. Restart?";
}

void CheckWinner(Shell& shell) {
  const std::int16_t winner = Winner();
  if (winner == 0) {
    return;
  }
  const bool again = shell.AskYesNo(RestartQuestion(winner));
  Restarting = kTrue;
  if (!again) {
    throw ProgramEnd{};
  }
}

}  // namespace quarrow
