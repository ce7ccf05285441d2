#pragma once

// What the court picture is drawn on. Every coordinate is a 32-bit float in court pixels; lines and
// circles take the surface's own foreground colour, clearing restores its background.

#include <cstdint>

namespace quarrow {

struct PointF {
  float x = 0.0f;
  float y = 0.0f;
  friend bool operator==(PointF, PointF) = default;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

class Surface {
 public:
  virtual ~Surface() = default;
  virtual void Clear() = 0;
  virtual void Line(PointF from, PointF to) = 0;
  // An axis-parallel rectangle with two opposite corners.
  virtual void Rectangle(PointF corner, PointF opposite, Rgb colour) = 0;
  virtual void Circle(PointF centre, float radius) = 0;
};

}  // namespace quarrow
