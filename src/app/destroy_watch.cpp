#include "app/destroy_watch.h"

#include <xcb/xcb.h>

#include <QByteArray>
#include <QCoreApplication>
#include <utility>

namespace quarrow {

DestroyWatch::DestroyWatch(std::function<void(WId)> onDestroyed)
    : onDestroyed_(std::move(onDestroyed)) {
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
    onDestroyed_(static_cast<const xcb_destroy_notify_event_t*>(message)->window);
  }
  return false;
}

}  // namespace quarrow
