#pragma once

// The match in words for assistive technology: a sentence after each life lost and one at the
// match's end, for the window and the page alike.

#include <cstdint>
#include <string>

namespace quarrow {

// Life sentences are said at least this far apart; any more would talk over the next.
inline constexpr std::int64_t kAnnounceIntervalMs = 1000;

// "Team 1 lost a life: 2 left."
std::string LifeLostSentence(std::int16_t team, std::int16_t left);
// "Team 2 won the match.", or the sentence of a match given up undecided.
std::string ResultSentence();

// A new match, set up: nothing said of it yet.
void ResetAnnouncements();
// After a frame, or a run of them, at tick (milliseconds): the sentence to say now, or empty.
// At the normal pace each life lost is said, at most one sentence a kAnnounceIntervalMs; in Fast
// and Max mode only the result, which is said at once and drops what is still waiting.
std::string NextAnnouncement(double tick);

}  // namespace quarrow
