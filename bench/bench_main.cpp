// The window benchmark measures on the X display it is given (DISPLAY set and QT_QPA_PLATFORM=xcb);
// anywhere else it runs offscreen, and its label says which.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>

#include "app/event_loop.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  const bool onDisplay =
      !qEnvironmentVariableIsEmpty("DISPLAY") && qgetenv("QT_QPA_PLATFORM") == QByteArray("xcb");
  if (!onDisplay) {
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  }
  quarrow::PreferPlainEventLoop();
  QApplication app(argc, argv);
  quarrow::ApplyWindowSettings();
  benchmark::AddCustomContext("qt_platform", QApplication::platformName().toStdString());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
