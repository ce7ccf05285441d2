// quarrow: the window "Quarrow simulator".

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/desktop_identity.h"
#include "app/display_check.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "play/frame_loop.h"
#include "play/tick_clock.h"
#include "sim/frame.h"
#include "text/failure.h"

namespace {

// The seed lines go to standard output when there is one. Without it, the descriptor is held on
// /dev/null, so that no file the window opens later, its display connection above all, takes its
// number and receives them. A reader gone away is no reason to end the window.
void KeepStandardOutputHarmless() {
  if (fcntl(STDOUT_FILENO, F_GETFD) == -1) {
    const int null = open("/dev/null", O_WRONLY);
    if (null != -1 && null != STDOUT_FILENO) {
      dup2(null, STDOUT_FILENO);
      close(null);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> status = quarrow::AnswerCommandLine(argc, argv)) {
    return *status;
  }
  const quarrow::WindowCommandLine asked = quarrow::TakeWindowOptions(argc, argv);
  if (!asked.error.empty()) {
    std::fprintf(stderr, "quarrow: %s (see --help)\n", asked.error.c_str());
    return 2;
  }
  const quarrow::WindowOptions& options = asked.options;
  KeepStandardOutputHarmless();
  quarrow::ZoomWindow(options.zoom);
  if (!quarrow::NamesPlatform(argc, argv) && !quarrow::DisplayConfigured()) {
    quarrow::ReportNoDisplay();
    return 1;
  }
  quarrow::PreferPlainEventLoop();
  quarrow::PlatformStartGuard startGuard;
  QApplication app(argc, argv);
  startGuard.End();
  quarrow::ApplyWindowSettings();
  if (quarrow::RefuseLeftoverArguments(argc, argv)) {
    return 2;
  }
  if (const std::string refusal = quarrow::CourtTooLarge(options.court); !refusal.empty()) {
    std::fprintf(stderr, "quarrow: %s\n", refusal.c_str());
    return 2;
  }
  quarrow::SetDesktopIdentity();

  try {
    quarrow::WindowRun run;
    if (options.seed) {
      quarrow::PlayOn on = quarrow::PlayOnTo(*options.seed, options.match);
      const auto said = [](const std::string& line) {
        std::fprintf(stderr, "quarrow: %s\n", line.c_str());
      };
      const std::optional<quarrow::WindowRun> reached = quarrow::SeededRun(
          on, options.court, [] { return static_cast<double>(quarrow::MonotonicTicks()); }, said);
      if (!reached) {
        std::fprintf(stderr, "quarrow: %s (see --help)\n", on.refusal.c_str());
        return 2;
      }
      run = *reached;
      for (const std::int64_t match : on.stalled) {
        // The runner goes on past a stall in the same way, so the match shown is still its own.
        std::fprintf(stderr, "quarrow: match %lld of seed %u stalled after %lld frames\n",
                     static_cast<long long>(match), *options.seed,
                     static_cast<long long>(quarrow::kStallFrames));
      }
    }
    quarrow::Main window(options.court);
    quarrow::Form_Load(window, run);
  } catch (const quarrow::ProgramExit& end) {
    // Mostly the window closed or another match declined (ProgramEnd): status 0 and no word.
    if (*end.what() != '\0') {
      std::fprintf(stderr, "quarrow: %s\n", end.what());
    }
    return end.Status();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quarrow: %s\n", error.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "quarrow: unexpected failure\n");
    return 1;
  }
  return 0;
}
