#include "play/inputs.h"

#include "game/game_state.h"

namespace quarrow {

void Command1_Click() {
  MaxMode = ToFlag(MaxMode == kFalse);
}

void Command2_Click() {
  FastMode = ToFlag(FastMode == kFalse);
}

void PicMain_MouseMove(std::int16_t button, std::int16_t /*shift*/, float x, float y) {
  if (BallTeam != 0 || button == 0) {
    return;
  }
  // Taken as delivered, off the court too: a drag keeps reporting outside the surface.
  BallX = ToFixed(static_cast<double>(x));
  BallY = ToFixed(static_cast<double>(y));
  BallSpeed = 0.0;
}

}  // namespace quarrow
