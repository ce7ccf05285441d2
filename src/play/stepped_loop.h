#pragma once

// The frame loop for a front end that cannot block (the page): each pass does what is due and
// says when to come back; everything it shows (the pace, the question, the run's name and link,
// a play-on's progress) is decided here, as the window decides it.

#include <cstdint>
#include <string>
#include <string_view>

#include "game/platform.h"
#include "play/run.h"

namespace quarrow {

// Reseeded from the clock at every match setup as the window is, or, for a seeded run, seeded once
// so that the run follows from its seed as quarrow-sim's does. No events: a page serves them only
// between passes, never in the middle of a point search.
class PagePlatform final : public Platform {
 public:
  TwisterRandom* Random() override { return &random_; }
  float Draw() override { return random_.Draw(); }
  void Reseed() override;
  void PumpEvents() override {}
  bool HasEvents() const override { return false; }
  CourtSize CourtInterior() override { return court_; }

  void SetCourt(CourtSize court) { court_ = court; }
  // Seeded once, or from the clock at every setup.
  void SeedRun(std::optional<std::uint32_t> seed);
  std::uint32_t Seed() const { return seed_; }

 private:
  TwisterRandom random_;
  CourtSize court_ = kStandardCourt;
  bool seeded_ = false;
  std::uint32_t seed_ = 0;
};

enum class Stage : int { kPlayingOn = 0, kPlaying = 1, kAsking = 2, kEnded = 3 };

// What a front end shows, as the stepped loop leaves it; revision changes whenever any of it does.
struct SteppedView {
  int revision = 0;
  Stage stage = Stage::kPlaying;
  std::int64_t match = 1;  // the match shown, numbered in its run
  CourtSize court = kStandardCourt;
  std::string status;     // the line under the court
  std::string shareLine;  // "This match: match 2 of seed 5, " before the link
  std::string shareLink;  // "?seed=5&match=2"
  std::string question;   // at a match's end
  std::int64_t framesLastPass = 0;
  std::string announcement;  // the last sentence for assistive technology
  int announcements = 0;     // how many have been said: a new one is to be said again
};

const SteppedView& View();

// Starts the run a page's address asks for (its query, "?seed=5&match=2").
void BeginSteppedRun(std::string_view query);
// One pass at now (milliseconds on clock): a wait's end, a frame, a slice of Max mode's frames or
// of a play-on. Returns how long to leave to a timer before the next pass (milliseconds), 0 for a
// pass as soon as events have been served, or a negative value when no pass is wanted until an
// answer.
double SteppedPass(double now, double (*clock)());
// The question's Yes or No.
void SteppedAnswer(bool yes);
// The pace buttons and a drag over the court, taken only while a match is played.
void SteppedMaxClick();
void SteppedFastClick();
void SteppedPauseClick();
void SteppedStepClick();
void SteppedMouseMove(int buttons, float x, float y);
// A key on the focused court (a CourtKey); whether it did anything.
bool SteppedCourtKey(int key, bool shift);

}  // namespace quarrow
