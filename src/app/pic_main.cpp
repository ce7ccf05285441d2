#include "app/pic_main.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <utility>

#include "app/painter_surface.h"
#include "play/inputs.h"
#include "play/placement.h"

namespace quarrow {
namespace {

std::int16_t ButtonMask(Qt::MouseButtons buttons) {
  std::int16_t mask = 0;
  if (buttons & Qt::LeftButton) {
    mask |= kLeftButton;
  }
  if (buttons & Qt::RightButton) {
    mask |= kRightButton;
  }
  if (buttons & Qt::MiddleButton) {
    mask |= kMiddleButton;
  }
  return mask;
}

std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers) {
  std::int16_t mask = 0;
  if (modifiers & Qt::ShiftModifier) {
    mask |= 1;
  }
  if (modifiers & Qt::ControlModifier) {
    mask |= 2;
  }
  if (modifiers & Qt::AltModifier) {
    mask |= 4;
  }
  return mask;
}

}  // namespace

PicMainWidget::PicMainWidget(const Picture& picture, std::function<void()> beforePaint,
                             QWidget* parent)
    : QFrame(parent), picture_(picture), beforePaint_(std::move(beforePaint)) {
  setObjectName("PicMain");
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(kBorder);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName("Court");
  setAccessibleDescription(
      "The match as it is played: green end zones, blue and red players, white back players and "
      "the ball. Dragging over the court with a mouse button held places a dead ball; so do the "
      "arrow keys, which move a cursor (Shift: ten pixels), and Enter or Space. Escape leaves.");
}

void PicMainWidget::paintEvent(QPaintEvent* event) {
  beforePaint_();
  QFrame::paintEvent(event);
  const QRect interior = contentsRect();
  QPainter painter(this);
  painter.setClipRect(interior);
  painter.translate(interior.topLeft());
  PainterSurface surface(painter, QRectF(0, 0, interior.width(), interior.height()),
                         palette().color(QPalette::ButtonText), palette().color(QPalette::Button));
  picture_.Replay(surface);
  DrawPlacementCursor(surface);
  if (hasFocus()) {
    // Over the border, so the court stays as it is.
    painter.resetTransform();
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kBorder, Qt::SolidLine, Qt::SquareCap,
                        Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}

void PicMainWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position() - QPointF(contentsRect().topLeft());
  PicMain_MouseMove(ButtonMask(event->buttons()), ShiftMask(event->modifiers()),
                    static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PicMainWidget::keyPressEvent(QKeyEvent* event) {
  static constexpr std::pair<int, CourtKey> kKeys[] = {
      {Qt::Key_Left, CourtKey::kLeft},    {Qt::Key_Right, CourtKey::kRight},
      {Qt::Key_Up, CourtKey::kUp},        {Qt::Key_Down, CourtKey::kDown},
      {Qt::Key_Return, CourtKey::kPlace}, {Qt::Key_Enter, CourtKey::kPlace},
      {Qt::Key_Space, CourtKey::kPlace},  {Qt::Key_Escape, CourtKey::kLeave}};
  for (const auto& [key, courtKey] : kKeys) {
    if (event->key() == key &&
        PicMain_KeyDown(courtKey, (event->modifiers() & Qt::ShiftModifier) != 0)) {
      event->accept();
      update();
      return;
    }
  }
  QFrame::keyPressEvent(event);
}

void PicMainWidget::focusOutEvent(QFocusEvent* event) {
  LeavePlacement();
  QFrame::focusOutEvent(event);
}

}  // namespace quarrow
