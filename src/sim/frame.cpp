#include "sim/frame.h"

#include "game/game_state.h"
#include "sim/ball.h"
#include "sim/contact.h"
#include "sim/players.h"

namespace quarrow {

void AdvanceFrame() {
  MoveBall();
  MovePlayers();
  UpdateBackPlayers();
}

#if defined(__wasm__)
namespace detail {
void (*volatile advanceFrameCall)() = AdvanceFrame;
}  // namespace detail
#endif

std::int16_t Winner() {
  std::int16_t winner = 0;
  if (Teams[1].Lives <= 0) {
    winner = 2;
  }
  if (Teams[2].Lives <= 0) {
    winner = 1;
  }
  return winner;
}

}  // namespace quarrow
