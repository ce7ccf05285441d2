#pragma once

#include <QFrame>
#include <functional>

#include "render/picture.h"

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;

namespace quarrow {

// The court surface: a sunken 2-pixel border around the drawing area, which shows the last picture
// and reports drags in interior coordinates. beforePaint may bring the picture up to date first.
class PicMainWidget final : public QFrame {
 public:
  static constexpr int kBorder = 2;
  PicMainWidget(const Picture& picture, std::function<void()> beforePaint, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  const Picture& picture_;
  std::function<void()> beforePaint_;
};

}  // namespace quarrow
