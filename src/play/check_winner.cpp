#include "play/check_winner.h"

#include "game/game_state.h"
#include "play/frame_loop.h"
#include "sim/frame.h"

namespace quarrow {

std::string RestartQuestion(std::int16_t winner) {
  return "Team " + std::to_string(winner) + " won the game. Restart?";
}

std::string StalledQuestion() {
  std::string question = "No team won the game in ";
  question += std::to_string(kStallFrames);
  question += " frames, so it was given up. Restart?";
  return question;
}

bool MatchOver() {
  return Winner() != 0 || MatchFrames >= kStallFrames;
}

std::string EndQuestion() {
  const std::int16_t winner = Winner();
  return winner != 0 ? RestartQuestion(winner) : StalledQuestion();
}

bool AnswerQuestion(bool yes) {
  Restarting = kTrue;
  return yes;
}

void CheckWinner(Shell& shell) {
  if (!MatchOver()) {
    return;
  }
  if (!AnswerQuestion(shell.AskYesNo(EndQuestion()))) {
    throw ProgramEnd{};
  }
}

}  // namespace quarrow
