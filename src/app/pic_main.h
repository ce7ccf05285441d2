#pragma once

#include <QFrame>

#include "render/picture.h"

class QMouseEvent;
class QPaintEvent;

namespace quarrow {

// The court surface: a sunken 2-pixel border around the drawing area, which shows the last picture
// and reports drags in interior coordinates.
class PicMainWidget final : public QFrame {
 public:
  static constexpr int kBorder = 2;
  PicMainWidget(const Picture& picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  const Picture& picture_;
};

}  // namespace quarrow
