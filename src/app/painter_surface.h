#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

#include "render/surface.h"

namespace quarrow {

// Draws on a QPainter whose origin is the court's top-left interior pixel. Rectangles are filled;
// lines and circles are antialiased so that the half-pixel centre line falls on one pixel column.
class PainterSurface final : public Surface {
 public:
  PainterSurface(QPainter& painter, QRectF area, QColor foreground, QColor background);
  void Clear() override;
  void Line(PointF from, PointF to) override;
  void Rectangle(PointF corner, PointF opposite, Rgb colour) override;
  void Circle(PointF centre, float radius) override;

 private:
  QPainter& painter_;
  QRectF area_;
  QColor foreground_;
  QColor background_;
};

}  // namespace quarrow
