#include "render/picture.h"

namespace quarrow {

void Picture::Replay(Surface& target) const {
  for (std::size_t i = 0; i < count_; ++i) {
    const Command& c = commands_[i];
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
