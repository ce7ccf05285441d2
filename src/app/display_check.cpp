#include "app/display_check.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quarrow {
namespace {

std::vector<std::string> heldMessages;

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

void HoldStartMessage(QtMsgType type, const QMessageLogContext& /*context*/,
                      const QString& message) {
  if (type == QtFatalMsg) {
    // Qt would abort right after this: its platform plugin could not start.
    ReportNoDisplay();
    std::_Exit(1);
  }
  heldMessages.push_back(message.toStdString());
}

void ReportRunningMessage(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  if (type != QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    return;
  }
  // Qt would abort and leave a core behind, for what is mostly a lost display: one line and a
  // failure status say it all.
  QString line = message;
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  std::fprintf(stderr, "quarrow: %s\n", qPrintable(line));
  std::_Exit(1);
}

}  // namespace

bool DisplayConfigured() {
  return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void ReportNoDisplay() {
  std::fputs("quarrow: no display available: start it from a desktop session, or set DISPLAY\n",
             stderr);
}

void GuardPlatformStart() {
  qInstallMessageHandler(HoldStartMessage);
}

void EndPlatformGuard() {
  qInstallMessageHandler(ReportRunningMessage);
  // Start-up went well: what Qt said on the way is worth seeing as usual.
  for (const std::string& message : heldMessages) {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
  heldMessages.clear();
}

}  // namespace quarrow
