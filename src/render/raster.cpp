#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarrow {
namespace {

constexpr std::uint8_t kBackgroundIndex = 0;
constexpr std::uint8_t kForegroundIndex = 1;
constexpr std::size_t kMaxColours = 255;
// Far enough off any image to stay off it, near enough for the arithmetic to stay in range.
constexpr double kFar = 1e12;

// The pixel a coordinate falls in; non-finite and far-off values land far off the image.
std::int64_t PixelOf(double v) {
  if (!(v > -kFar)) {
    return static_cast<std::int64_t>(-kFar);
  }
  return static_cast<std::int64_t>(std::floor(std::min(v, kFar)));
}

// A fill's edge: the nearest pixel boundary, a half upwards.
std::int64_t EdgeOf(float v) {
  return PixelOf(static_cast<double>(v) + 0.5);
}

}  // namespace

RasterSurface::RasterSurface(int width, int height, Rgb background, Rgb foreground)
    : palette_{background, foreground} {
  image_.width = std::max(width, 0);
  image_.height = std::max(height, 0);
  image_.pixels.assign(
      static_cast<std::size_t>(image_.width) * static_cast<std::size_t>(image_.height),
      kBackgroundIndex);
}

std::uint8_t RasterSurface::IndexOf(Rgb colour) {
  const auto known = std::find(palette_.begin(), palette_.end(), colour);
  if (known != palette_.end()) {
    return static_cast<std::uint8_t>(known - palette_.begin());
  }
  if (palette_.size() < kMaxColours) {
    palette_.push_back(colour);
  }
  return static_cast<std::uint8_t>(palette_.size() - 1);
}

void RasterSurface::Clear() {
  std::fill(image_.pixels.begin(), image_.pixels.end(), kBackgroundIndex);
}

void RasterSurface::Fill(std::int64_t left, std::int64_t top, std::int64_t right,
                         std::int64_t bottom, std::uint8_t index) {
  left = std::max<std::int64_t>(left, 0);
  top = std::max<std::int64_t>(top, 0);
  right = std::min<std::int64_t>(right, image_.width);
  bottom = std::min<std::int64_t>(bottom, image_.height);
  if (left >= right) {
    return;
  }
  for (std::int64_t y = top; y < bottom; ++y) {
    std::uint8_t* row = image_.pixels.data() + y * image_.width;
    std::memset(row + left, index, static_cast<std::size_t>(right - left));
  }
}

void RasterSurface::Plot(std::int64_t x, std::int64_t y, std::uint8_t index) {
  Fill(x, y, x + 1, y + 1, index);
}

void RasterSurface::Line(PointF from, PointF to) {
  // Both court lines run along an axis: they cover the pixels their span crosses. A slanted line
  // steps along its longer axis, one pixel a step.
  const double dx = static_cast<double>(to.x) - from.x;
  const double dy = static_cast<double>(to.y) - from.y;
  if (dx == 0.0 || dy == 0.0) {
    const std::int64_t left = PixelOf(std::min(from.x, to.x));
    const std::int64_t top = PixelOf(std::min(from.y, to.y));
    const std::int64_t right = dx == 0.0 ? left + 1 : PixelOf(std::ceil(std::max(from.x, to.x)));
    const std::int64_t bottom = dy == 0.0 ? top + 1 : PixelOf(std::ceil(std::max(from.y, to.y)));
    Fill(left, top, right, bottom, kForegroundIndex);
    return;
  }
  // No more steps than the image has pixels along both sides: a line of any length stays cheap.
  const double length = std::max(std::fabs(dx), std::fabs(dy));
  const double limit = 2.0 * (image_.width + image_.height);
  const auto steps = static_cast<std::int64_t>(std::ceil(std::min(length, limit)));
  for (std::int64_t k = 0; k <= steps; ++k) {
    const double t = static_cast<double>(k) / static_cast<double>(steps);
    Plot(PixelOf(from.x + dx * t), PixelOf(from.y + dy * t), kForegroundIndex);
  }
}

void RasterSurface::Rectangle(PointF corner, PointF opposite, Rgb colour) {
  const std::int64_t x1 = EdgeOf(corner.x);
  const std::int64_t x2 = EdgeOf(opposite.x);
  const std::int64_t y1 = EdgeOf(corner.y);
  const std::int64_t y2 = EdgeOf(opposite.y);
  Fill(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), IndexOf(colour));
}

void RasterSurface::Circle(PointF centre, float radius) {
  // The pixels whose centres lie within half a pixel of the outline.
  const double cx = centre.x;
  const double cy = centre.y;
  const double r = std::fabs(static_cast<double>(radius));
  const std::int64_t left = std::max<std::int64_t>(PixelOf(cx - r - 1.0), 0);
  const std::int64_t right = std::min<std::int64_t>(PixelOf(cx + r + 1.0), image_.width - 1);
  const std::int64_t top = std::max<std::int64_t>(PixelOf(cy - r - 1.0), 0);
  const std::int64_t bottom = std::min<std::int64_t>(PixelOf(cy + r + 1.0), image_.height - 1);
  for (std::int64_t y = top; y <= bottom; ++y) {
    const double py = static_cast<double>(y) + 0.5 - cy;
    for (std::int64_t x = left; x <= right; ++x) {
      const double px = static_cast<double>(x) + 0.5 - cx;
      if (std::fabs(std::sqrt(px * px + py * py) - r) < 0.5) {
        Plot(x, y, kForegroundIndex);
      }
    }
  }
}

}  // namespace quarrow
