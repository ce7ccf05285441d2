// Window tests run on Qt's offscreen platform unless told otherwise: no display is needed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include "app/event_loop.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  }
  ::testing::InitGoogleTest(&argc, argv);
  quarrow::PreferPlainEventLoop();
  QApplication app(argc, argv);
  quarrow::ApplyWindowSettings();
  return RUN_ALL_TESTS();
}
