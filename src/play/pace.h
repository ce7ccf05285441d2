#pragma once

// Every number of the play loop, for the window and the page alike; the page's files are given
// those they show when they are built.

#include <cstdint>

namespace quarrow {

// A frame's interval in milliseconds, counted from the end of the wait before it.
inline constexpr std::int64_t kNormalInterval = 50;
inline constexpr std::int64_t kFastInterval = 3;

// A front end that cannot block runs Max mode and a play-on in slices of this many milliseconds,
// so that input and painting come between; the clock is read every kSliceFrames frames in one.
inline constexpr double kSliceMs = 8;
inline constexpr int kSliceFrames = 512;
// A wait longer than this is left to a timer, which may be late by up to kTimerSlackMs; the rest
// of it to passes that come back at once.
inline constexpr double kTimerSlackMs = 5;

// A play-on says how far it has come at most this often: more would be noise to a screen reader.
inline constexpr double kProgressIntervalMs = 500;
// A play-on is measured for this long, then refused when the rest would take longer than
// kPlayOnLimitMs at the speed measured.
inline constexpr double kPlayOnMeasureMs = 1000;
inline constexpr double kPlayOnLimitMs = 600'000;

}  // namespace quarrow
