#include "sim/frame.h"

#include "game/game_state.h"
#include "sim/ball.h"
#include "sim/contact.h"
#include "sim/players.h"

namespace quarrow {

// V8 cannot move a running WebAssembly loop up to its optimising tier, so a frame inlined into a
// whole run would stay on the baseline tier; a call of its own is optimised once it is hot.
#if defined(__wasm__)
[[gnu::noinline]]
#endif
void AdvanceFrame() {
  MoveBall();
  MovePlayers();
  UpdateBackPlayers();
}

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
