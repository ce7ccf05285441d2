#include "app/destroy_watch.h"

#include <xcb/xcb.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QWidget>
#include <utility>

namespace quarrow {

DestroyWatch::DestroyWatch(const QWidget& window, std::function<void()> onDestroyed)
    : window_(window), onDestroyed_(std::move(onDestroyed)) {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

bool DestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                     qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t") {
    return false;
  }
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The top bit marks events sent by another client.
  if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY) {
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    const WId id = window_.internalWinId();
    if (id != 0 && destroyed->window == id) {
      onDestroyed_();
    }
  }
  return false;
}

}  // namespace quarrow
