#pragma once

#include "game/values.h"

namespace quarrow {

// Carries a held ball with its holder, or moves a free one in sub-steps with edge bounces, decides
// when it dies of slowness and applies the frame's friction.
void MoveBall();

// Reflects the ball off any edge it has crossed; every edge contact kills it.
void BounceBall();

// The holder releases the ball towards the aim point at throwing speed. Only while someone holds
// it.
void ThrowBall(Number aimX, Number aimY);

}  // namespace quarrow
