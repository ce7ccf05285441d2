#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

class QWidget;

namespace quarrow {

// Any X client may destroy our window without asking it to close; Qt then only sees the window
// hidden and would run on with nothing on screen. This tells when that happens.
class DestroyWatch final : public QAbstractNativeEventFilter {
 public:
  DestroyWatch(const QWidget& window, std::function<void()> onDestroyed);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  const QWidget& window_;
  std::function<void()> onDestroyed_;
};

}  // namespace quarrow
