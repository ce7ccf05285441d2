#include "app/event_loop.h"

#include <QByteArray>
#include <QtGlobal>

namespace quarrow {

void PreferPlainEventLoop() {
  qputenv("QT_NO_GLIB", QByteArray("1"));
}

}  // namespace quarrow
