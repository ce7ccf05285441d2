#include "play/announce.h"

#include <array>
#include <deque>
#include <optional>
#include <utility>

#include "game/game_state.h"
#include "play/check_winner.h"
#include "sim/frame.h"

namespace quarrow {
namespace {

struct Announcer {
  std::array<std::int16_t, kTeamCount + 1> lives{};
  bool resultSaid = false;
  std::deque<std::string> waiting;
  std::optional<double> lastSaid;
};

Announcer announcer;

}  // namespace

std::string LifeLostSentence(std::int16_t team, std::int16_t left) {
  return "Team " + std::to_string(team) + " lost a life: " + std::to_string(left) + " left.";
}

std::string ResultSentence() {
  const std::int16_t winner = Winner();
  if (winner != 0) {
    return "Team " + std::to_string(winner) + " won the match.";
  }
  return "No team won the match in " + std::to_string(kStallFrames) +
         " frames, so it was given up.";
}

void ResetAnnouncements() {
  announcer = Announcer{};
  for (std::int16_t team = 1; team <= kTeamCount; ++team) {
    announcer.lives[team] = Teams[team].Lives;
  }
}

std::string NextAnnouncement(double tick) {
  Announcer& a = announcer;
  const bool normalPace = MaxMode == kFalse && FastMode == kFalse;
  for (std::int16_t team = 1; team <= kTeamCount; ++team) {
    const std::int16_t lives = Teams[team].Lives;
    // The life that ends the match is told by the result.
    while (normalPace && a.lives[team] > lives && lives > 0) {
      --a.lives[team];
      a.waiting.push_back(LifeLostSentence(team, a.lives[team]));
    }
    a.lives[team] = lives;
  }
  if (MatchOver()) {
    if (a.resultSaid) {
      return {};
    }
    a.resultSaid = true;
    a.waiting.clear();
    a.lastSaid = tick;
    return ResultSentence();
  }
  if (a.waiting.empty() || (a.lastSaid && tick - *a.lastSaid < kAnnounceIntervalMs)) {
    return {};
  }
  std::string sentence = std::move(a.waiting.front());
  a.waiting.pop_front();
  a.lastSaid = tick;
  return sentence;
}

}  // namespace quarrow
