#include "play/inputs.h"

#include "game/game_state.h"
#include "sim/ball.h"

namespace quarrow {

void Command1_Click() {
  MaxMode = ToFlag(MaxMode == kFalse);
}

void Command2_Click() {
  FastMode = ToFlag(FastMode == kFalse);
}

void PicMain_MouseMove(std::int16_t button, std::int16_t /*shift*/, float x, float y) {
  if (button != 0) {
    PlaceBall(x, y);
  }
}

}  // namespace quarrow
