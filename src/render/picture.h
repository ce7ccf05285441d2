#pragma once

// One picture kept as its drawing commands. Frames can come far faster than a screen shows them;
// keeping the commands lets a frame be drawn while only the shown ones are rasterised.

#include <array>
#include <cstddef>
#include <cstdint>

#include "render/surface.h"

namespace quarrow {

class Picture final : public Surface {
 public:
  // Room for the court's picture twice over; drawing checks it at compile time.
  static constexpr std::size_t kCapacity = 32;

  // Clearing covers everything drawn before, so the earlier commands are dropped. Recording is
  // inline: it runs every frame at the slower paces, the replay only when the screen shows one.
  void Clear() override {
    count_ = 0;
    Add(Kind::kClear, {}, {}, {}, 0.0f);
  }
  void Line(PointF from, PointF to) override { Add(Kind::kLine, from, to, {}, 0.0f); }
  void Rectangle(PointF corner, PointF opposite, Rgb colour) override {
    Add(Kind::kRectangle, corner, opposite, colour, 0.0f);
  }
  void Circle(PointF centre, float radius) override { Add(Kind::kCircle, centre, {}, {}, radius); }

  // Draws the kept commands, in their order, on another surface.
  void Replay(Surface& target) const;
  bool Empty() const { return count_ == 0; }

 private:
  enum class Kind : std::uint8_t { kClear, kLine, kRectangle, kCircle };
  struct Command {
    Kind kind = Kind::kClear;
    PointF a;
    PointF b;
    Rgb colour;
    float radius = 0.0f;
  };

  // A fixed array and no call on the way keep a frame's recording to a few stores; a growing
  // vector cost some 25 ns more a window frame. Commands past the capacity are dropped.
  void Add(Kind kind, PointF a, PointF b, Rgb colour, float radius) {
    if (count_ < kCapacity) {
      commands_[count_++] = Command{kind, a, b, colour, radius};
    }
  }

  std::array<Command, kCapacity> commands_{};
  std::size_t count_ = 0;
};

}  // namespace quarrow
