#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/platform.h"

namespace quarrow::testing {

// Thrown by a draw beyond the script: a search that kept drawing would otherwise run until CI's
// limit.
struct ScriptRanOut : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A platform whose random source hands out a script of draws in order. A draw beyond the script
// ends the test at once with ScriptRanOut; leaving part of it untaken fails the test. Event pumps
// and reseeds are counted. Installs itself for its lifetime.
class ScriptedPlatform final : public Platform {
 public:
  explicit ScriptedPlatform(std::vector<float> draws, CourtSize size = kStandardCourt)
      : draws_(std::move(draws)), size_(size) {
    SetPlatform(this);
  }
  ~ScriptedPlatform() override {
    SetPlatform(nullptr);
    if (next_ < draws_.size()) {
      ADD_FAILURE() << "only " << next_ << " of " << draws_.size() << " scripted draws were taken";
    }
  }
  ScriptedPlatform(const ScriptedPlatform&) = delete;
  ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

  float Draw() override {
    if (next_ >= draws_.size()) {
      throw ScriptRanOut("draw " + std::to_string(next_ + 1) + " taken, but only " +
                         std::to_string(draws_.size()) + " were scripted");
    }
    return draws_[next_++];
  }
  void Reseed() override { ++reseeds; }
  void PumpEvents() override {
    ++pumps;
    drawsAtPump.push_back(next_);
    if (onPump) {
      onPump();
    }
  }
  CourtSize CourtInterior() override { return size_; }

  int pumps = 0;
  int reseeds = 0;
  std::vector<std::size_t> drawsAtPump;  // how many draws had been taken at each pump
  std::function<void()> onPump;          // an event served by the pump

 private:
  std::vector<float> draws_;
  std::size_t next_ = 0;
  CourtSize size_;
};

// The script followed by count copies of filler.
inline std::vector<float> Then(std::vector<float> script, int count, float filler = 0.0f) {
  script.insert(script.end(), static_cast<std::size_t>(count), filler);
  return script;
}

// The largest draw a source may give: the float just below 1.
inline constexpr float kTopDraw = 0x1.fffffep-1f;

}  // namespace quarrow::testing
