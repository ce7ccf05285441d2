#pragma once

// A run's identity, the same for the window and the page: where its matches' draws come from, how
// it is named and linked to, and the play-on from its first match to the one asked for.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/platform.h"
#include "game/twister_random.h"

namespace quarrow {

// The matches a front end plays: by default each from a seed of its own taken from the clock;
// with a seed, the run the headless runner plays from it, from a given match on.
struct WindowRun {
  std::optional<std::uint32_t> seed;
  std::int64_t firstMatch = 1;
  // The run's source as the first match's setup finds it; only with a seed.
  std::optional<TwisterRandom> source;
};

// WIDTHxHEIGHT within the rules' limits, as --court and &court= take it.
std::optional<CourtSize> ParseCourt(std::string_view text);
// What a refused court is told it needs.
std::string CourtNeeds();

// What a page's address asks for: ?seed=N&match=K&court=WxH, read as the window reads its options.
struct RunAddress {
  std::optional<std::uint32_t> seed;
  std::int64_t match = 1;
  CourtSize court = kStandardCourt;
  std::string problem;  // why part of the address was not followed; empty when all was
};
RunAddress ReadAddress(std::string_view query);

// "match 3: seed 2718281828" for a clock seed (the first match of its run), "match 3 of seed 1"
// in a seeded run.
std::string SeedLine(std::int64_t match, std::uint32_t seed, bool seededRun);
// The address that plays this match again: "?seed=1&match=3", with "&court=WxH" off the standard
// court.
std::string ShareLink(std::int64_t match, std::uint32_t seed, bool seededRun, CourtSize court);

// The matches before a run's first shown one, played as the runner plays them (a match still
// undecided after kStallFrames is given up), a slice at a time, on the installed platform.
struct PlayOn {
  std::uint32_t seed = 0;
  std::int64_t target = 1;  // the match to be shown
  std::int64_t match = 1;   // the match being played
  std::int64_t frames = 0;  // its frames so far
  bool setUp = false;
  std::vector<std::int64_t> stalled;
  double startMs = -1;
  double saidMs = 0;
  bool judged = false;  // the speed has been measured and found enough
  std::string news;     // a progress line due to be said; the front end takes it
  std::string refusal;  // set when the target is out of reach: the play-on has stopped
};

PlayOn PlayOnTo(std::uint32_t seed, std::int64_t target);

// Plays on for up to frames frames; true once the target match is reached.
bool PlayOnFrames(PlayOn& on, std::int64_t frames);
// Plays on until the clock (milliseconds) passes sliceMs from now, the target is reached, or the
// target is found out of reach. Sets news when progress is due. True when finished either way.
bool PlayOnSlice(PlayOn& on, double (*clock)(), double sliceMs);

}  // namespace quarrow
