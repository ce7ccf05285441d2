#include "app/display_check.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/escaped.h"

namespace quarrow {
namespace {

// Qt's message handler is a plain function: it finds the guard's messages through this.
std::vector<std::string>* heldMessages = nullptr;

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Why the platform plugin could not start, in one line, from what Qt said on the way and its
// fatal message: the display that did not open, or the plugin that does not exist and those that
// do, or else Qt's own first word on it.
std::string StartFailure(const std::vector<std::string>& held, const std::string& fatal) {
  constexpr std::string_view kNoDisplay = "could not connect to display";
  constexpr std::string_view kNoPlugin = "Could not find the Qt platform plugin \"";
  constexpr std::string_view kAvailable = "Available platform plugins are: ";
  for (const std::string& message : held) {
    if (message.starts_with(kNoDisplay)) {
      std::string_view name = std::string_view(message).substr(kNoDisplay.size());
      name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
      return name.empty() ? "cannot open a display: DISPLAY is not set"
                          : "cannot open display " + Escaped(name);
    }
    if (message.starts_with(kNoPlugin)) {
      const std::string_view rest = std::string_view(message).substr(kNoPlugin.size());
      std::string line =
          "no Qt platform plugin \"" + Escaped(rest.substr(0, rest.find('"'))) + "\"";
      if (const std::size_t at = fatal.find(kAvailable); at != std::string::npos) {
        std::string_view known = std::string_view(fatal).substr(at + kAvailable.size());
        known = known.substr(0, known.find_last_not_of(". \n") + 1);
        line += " (Qt has: " + Escaped(known) + ")";
      }
      return line;
    }
  }
  const std::string& first = held.empty() ? fatal : held.front();
  return "cannot start Qt's platform plugin: " + Escaped(first.substr(0, first.find('\n')));
}

void HoldStartMessage(QtMsgType type, const QMessageLogContext& /*context*/,
                      const QString& message) {
  if (type == QtFatalMsg) {
    // Qt would abort right after this: its platform plugin could not start.
    std::fprintf(stderr, "quarrow: %s\n",
                 StartFailure(*heldMessages, message.toStdString()).c_str());
    std::_Exit(1);
  }
  heldMessages->push_back(message.toStdString());
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

PlatformStartGuard::PlatformStartGuard() {
  heldMessages = &held_;
  qInstallMessageHandler(HoldStartMessage);
}

PlatformStartGuard::~PlatformStartGuard() {
  End();
}

void PlatformStartGuard::End() {
  if (ended_) {
    return;
  }
  ended_ = true;
  qInstallMessageHandler(ReportRunningMessage);
  heldMessages = nullptr;
  // Start-up went well: what Qt said on the way is worth seeing as usual.
  for (const std::string& message : held_) {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
  held_.clear();
}

}  // namespace quarrow
