#include "app/painter_surface.h"

#include <QPen>
#include <QPointF>

namespace quarrow {
namespace {

QPointF ToQt(PointF p) {
  return {p.x, p.y};
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, QRectF area, QColor foreground, QColor background)
    : painter_(painter), area_(area), foreground_(foreground), background_(background) {
  painter_.setPen(QPen(foreground_, 1.0));
  painter_.setBrush(Qt::NoBrush);
}

void PainterSurface::Clear() {
  painter_.fillRect(area_, background_);
}

void PainterSurface::Line(PointF from, PointF to) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.drawLine(ToQt(from), ToQt(to));
}

void PainterSurface::Rectangle(PointF corner, PointF opposite, Rgb colour) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.fillRect(QRectF(ToQt(corner), ToQt(opposite)).normalized(),
                    QColor(colour.red, colour.green, colour.blue));
}

void PainterSurface::Circle(PointF centre, float radius) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.drawEllipse(ToQt(centre), static_cast<qreal>(radius), static_cast<qreal>(radius));
}

}  // namespace quarrow
