#pragma once

// What the front ends' controls do to the game; a front end only translates its events into these.

#include <cstdint>

namespace quarrow {

// Mouse buttons as a mask: 1 left, 2 right, 4 middle.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

void Command1_Click();
void Command2_Click();
// Places a dead ball at the pointer (PlaceBall) while any button is held. shift is not used.
void PicMain_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);

}  // namespace quarrow
