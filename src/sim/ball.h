#pragma once

#include "game/values.h"
#include "rules/trig.h"

namespace quarrow {

// Carries a held ball with its holder, or moves a free one in sub-steps with edge bounces, decides
// when it dies of slowness and applies the frame's friction.
void MoveBall();

// The sine and cosine of BallAngle, kept while the angle lasts: a flight's sub-steps and the reach
// tests of every player near the ball share them.
const SinCos& BallSinCos();

// Reflects the ball off any edge it has crossed; every edge contact kills it.
void BounceBall();

// The holder releases the ball towards the aim point at throwing speed. Only while someone holds
// it.
void ThrowBall(Number aimX, Number aimY);

}  // namespace quarrow
