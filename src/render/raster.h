#pragma once

// The court's picture as pixels without any toolkit: each pixel an index into a small palette, as
// an animated image or any other indexed output wants it.

#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace quarrow {

// The standard light scheme's button face and text, which the window's court shows by default.
inline constexpr Rgb kCourtBackground{239, 239, 239};
inline constexpr Rgb kCourtForeground{0, 0, 0};

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // row by row, top row first
  std::uint8_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// Rasterises the surface's four operations into an indexed image, clipped to it. Rectangles cover
// the pixels a toolkit's unsmoothed fill covers (each edge rounded to the nearest pixel boundary, a
// half upwards); lines and circles are one pixel wide and not smoothed. Colours are added to the
// palette as they are first drawn; index 0 is the background, 1 the foreground.
class RasterSurface final : public Surface {
 public:
  RasterSurface(int width, int height, Rgb background = kCourtBackground,
                Rgb foreground = kCourtForeground);

  void Clear() override;
  void Line(PointF from, PointF to) override;
  void Rectangle(PointF corner, PointF opposite, Rgb colour) override;
  void Circle(PointF centre, float radius) override;

  const IndexedImage& Image() const { return image_; }
  const std::vector<Rgb>& Palette() const { return palette_; }
  // The palette's index of a colour, added when new. At most 255 colours: later ones share the
  // last index.
  std::uint8_t IndexOf(Rgb colour);

 private:
  void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
            std::uint8_t index);
  void Plot(std::int64_t x, std::int64_t y, std::uint8_t index);

  IndexedImage image_;
  std::vector<Rgb> palette_;
};

}  // namespace quarrow
