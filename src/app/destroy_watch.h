#pragma once

#include <QtGui/qwindowdefs.h>
#include <QAbstractNativeEventFilter>
#include <functional>

namespace quarrow {

// Any X client may destroy our windows without asking them to close; Qt then only sees a window
// hidden and would run on with nothing on screen. This tells which window went.
class DestroyWatch final : public QAbstractNativeEventFilter {
 public:
  explicit DestroyWatch(std::function<void(WId)> onDestroyed);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void(WId)> onDestroyed_;
};

}  // namespace quarrow
