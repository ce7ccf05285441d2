#include "render/picture.h"

namespace quarrow {

void Picture::Clear() {
  commands_.clear();
  commands_.push_back({Kind::kClear, {}, {}, {}, 0.0f});
}

void Picture::Line(PointF from, PointF to) {
  commands_.push_back({Kind::kLine, from, to, {}, 0.0f});
}

void Picture::Rectangle(PointF corner, PointF opposite, Rgb colour) {
  commands_.push_back({Kind::kRectangle, corner, opposite, colour, 0.0f});
}

void Picture::Circle(PointF centre, float radius) {
  commands_.push_back({Kind::kCircle, centre, {}, {}, radius});
}

void Picture::Replay(Surface& target) const {
  for (const Command& c : commands_) {
    switch (c.kind) {
      case Kind::kClear:
        target.Clear();
        break;
      case Kind::kLine:
        target.Line(c.a, c.b);
        break;
      case Kind::kRectangle:
        target.Rectangle(c.a, c.b, c.colour);
        break;
      case Kind::kCircle:
        target.Circle(c.a, c.radius);
        break;
    }
  }
}

}  // namespace quarrow
