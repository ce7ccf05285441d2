// quarrow: the window "Quarrow simulator".

#include <QApplication>
#include <cstdio>
#include <exception>
#include <optional>

#include "app/command_line.h"
#include "app/desktop_identity.h"
#include "app/display_check.h"
#include "app/event_loop.h"
#include "app/frame_loop.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = quarrow::AnswerCommandLine(argc, argv)) {
    return *status;
  }
  if (!quarrow::NamesPlatform(argc, argv) && !quarrow::DisplayConfigured()) {
    quarrow::ReportNoDisplay();
    return 1;
  }
  quarrow::PreferPlainEventLoop();
  quarrow::GuardPlatformStart();
  QApplication app(argc, argv);
  quarrow::EndPlatformGuard();
  if (quarrow::RefuseLeftoverArguments(argc, argv)) {
    return 2;
  }
  quarrow::SetDesktopIdentity();

  try {
    quarrow::Main window;
    quarrow::Form_Load(window);
  } catch (const quarrow::ProgramEnd&) {
    // The window was closed or the user declined another match.
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quarrow: %s\n", error.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "quarrow: unexpected failure\n");
    return 1;
  }
  return 0;
}
