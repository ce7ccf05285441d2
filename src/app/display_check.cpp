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

}  // namespace

bool DisplayConfigured() {
  return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void ReportNoDisplay() {
  std::fputs("quarrow: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n", stderr);
}

void GuardPlatformStart() {
  qInstallMessageHandler(HoldStartMessage);
}

void EndPlatformGuard() {
  qInstallMessageHandler(nullptr);
  // Start-up went well: what Qt said on the way is worth seeing as usual.
  for (const std::string& message : heldMessages) {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
  heldMessages.clear();
}

}  // namespace quarrow
