#pragma once

// One picture kept as its drawing commands. Frames can come far faster than a screen shows them;
// keeping the commands lets every frame be drawn while only the shown ones are rasterised.

#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace quarrow {

class Picture final : public Surface {
 public:
  // Clearing covers everything drawn before, so the earlier commands are dropped. Recording is
  // inline: it runs every frame, the replay only when the screen shows one.
  void Clear() override {
    commands_.clear();
    commands_.push_back({Kind::kClear, {}, {}, {}, 0.0f});
  }
  void Line(PointF from, PointF to) override {
    commands_.push_back({Kind::kLine, from, to, {}, 0.0f});
  }
  void Rectangle(PointF corner, PointF opposite, Rgb colour) override {
    commands_.push_back({Kind::kRectangle, corner, opposite, colour, 0.0f});
  }
  void Circle(PointF centre, float radius) override {
    commands_.push_back({Kind::kCircle, centre, {}, {}, radius});
  }

  // Draws the kept commands, in their order, on another surface.
  void Replay(Surface& target) const;
  bool Empty() const { return commands_.empty(); }

 private:
  enum class Kind : std::uint8_t { kClear, kLine, kRectangle, kCircle };
  struct Command {
    Kind kind = Kind::kClear;
    PointF a;
    PointF b;
    Rgb colour;
    float radius = 0.0f;
  };
  std::vector<Command> commands_;
};

}  // namespace quarrow
