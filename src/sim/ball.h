#pragma once

#include <cstdint>

#include "game/values.h"
#include "rules/trig.h"

namespace quarrow {

// Carries a held ball with its holder, or moves a free one in sub-steps with edge bounces, decides
// when it dies of slowness and applies the frame's friction.
void MoveBall();

// How many sub-steps a frame at this speed runs: the number of counter values 0, 0.1, 0.2, ...,
// each the double sum of the one before and 0.1, that do not exceed the speed.
std::int64_t SubStepCount(double speed);
// The sine and cosine of BallAngle, within kSinCosBound of the exact ones; kept while the angle
// lasts.
SinCos BallSinCos();

// Reflects the ball off any edge it has crossed; every edge contact kills it.
void BounceBall();

// Lays a dead ball at a point, at rest: x moves to the nearest point a zone claims, so that
// somebody fetches it; y is taken as it is. A held or live ball stays where it is.
void PlaceBall(float x, float y);

// The holder releases the ball towards the aim point at throwing speed. Only while someone holds
// it.
void ThrowBall(Number aimX, Number aimY);

}  // namespace quarrow
