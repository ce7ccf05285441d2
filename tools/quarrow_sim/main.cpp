// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "build_info.h"
#include "game/platform.h"
#include "histogram_svg.h"
#include "match_csv.h"
#include "match_stats.h"
#include "options.h"
#include "outputs.h"
#include "sim/frame.h"
#include "text/checked_output.h"
#include "text/whole_file.h"
#include "trace.h"

namespace {

using Clock = std::chrono::steady_clock;

class Progress {
 public:
  Progress(std::int64_t matches) : matches_(matches), enabled_(isatty(STDERR_FILENO) != 0) {}
  void Update(std::int64_t match, std::int64_t frames) {
    if (!enabled_ || (frames & 0xFFFF) != 0) {
      return;
    }
    const auto now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200)) {
      return;
    }
    last_ = now;
    std::fprintf(stderr, "\rmatch %lld of %lld, %lld frames", static_cast<long long>(match),
                 static_cast<long long>(matches_), static_cast<long long>(frames));
    shown_ = true;
  }
  ~Progress() {
    if (shown_) {
      std::fputs("\r\033[K", stderr);
    }
  }

 private:
  std::int64_t matches_;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

namespace runner = quarrow::runner;

// Set by the first SIGINT or SIGTERM: the run stops after its frame and completes its outputs.
volatile std::sig_atomic_t stopSignal = 0;

// A second signal ends the run at once, without the outputs still being written; SIGPIPE ends it
// silently as usual. Either way no temporary file is left behind.
extern "C" void OnSignal(int signal) {
  if (signal != SIGPIPE && stopSignal == 0) {
    stopSignal = signal;
    return;
  }
  quarrow::RemoveTemporaryFiles();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// A signal the run was started with ignored (as nohup does, or a shell for a background job)
// stays ignored.
void CatchSignals() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Writes under way complete: a record is never cut by the signal.
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGPIPE}) {
    struct sigaction before {};
    sigaction(signal, nullptr, &before);
    if (before.sa_handler != SIG_IGN) {
      sigaction(signal, &action, nullptr);
    }
  }
  // A file size limit fails a write, as a full disk does, instead of killing the run.
  std::signal(SIGXFSZ, SIG_IGN);
}

// Thrown out of a match when a signal asked the run to stop.
struct Stopped {};

// Every file output the options name, by option, for the check that no two share a file.
std::vector<std::pair<std::string_view, std::string>> NamedFiles(const runner::Options& options) {
  std::vector<std::pair<std::string_view, std::string>> named;
  for (const auto& [option, path] : {std::pair{"--trace", &options.trace},
                                     {"--csv", &options.csv},
                                     {"--histogram", &options.histogram}}) {
    if (path->has_value()) {
      named.emplace_back(option, **path);
    }
  }
  return named;
}

int Run(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  runner::Output trace(options.trace, "trace");
  runner::Output csv(options.csv, "CSV");
  runner::Output histogram(options.histogram, "histogram");
  // With the trace or the CSV on standard output, everything else goes to standard error.
  const bool reportToStderr = trace.ToStandardOutput() || csv.ToStandardOutput();
  std::FILE* report = reportToStderr ? stderr : stdout;
  const char* reportName = reportToStderr ? "standard error" : "standard output";

  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed && !options.jsonSummary) {
    quarrow::Write(report, "seed " + std::to_string(seed) + "\n", reportName);
  }
  quarrow::SeededPlatform platform(seed, {options.width, options.height});
  const quarrow::PlatformInstallation installation(platform);

  if (csv.Wanted()) {
    runner::AppendCsvHeader(csv.Buffer());
  }
  runner::RunStats stats;
  std::int64_t totalFrames = 0;
  const auto start = Clock::now();
  try {
    Progress progress(options.matches);
    for (std::int64_t match = 1; match <= options.matches; ++match) {
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
            progress.Update(match, totalFrames + frame);
            if (trace.Wanted()) {
              runner::AppendTraceRecord(trace.Buffer(), match, frame);
              trace.Spill();
            }
            if (stopSignal != 0) {
              throw Stopped{};
            }
          });
      totalFrames += result.frames;
      runner::AddMatch(stats, result, quarrow::Counts);
      if (csv.Wanted()) {
        runner::AppendCsvRow(csv.Buffer(), match, result, quarrow::Counts);
        csv.Spill();
      }
    }
  } catch (const Stopped&) {
    // The matches finished so far make the outputs.
  }
  // A signal once the matches are all played changes nothing.
  const int stoppedBy = stopSignal;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  runner::Summary summary = runner::Summarize(stats, seed);
  summary.interrupted = stoppedBy != 0;
  if (histogram.Wanted()) {
    histogram.Buffer() = runner::HistogramSvg(summary);
  }
  for (runner::Output* out : {&trace, &csv, &histogram}) {
    out->Finish();
  }
  const double framesPerSecond = seconds > 0 ? totalFrames / seconds : 0.0;
  quarrow::Write(report,
                 options.jsonSummary ? runner::SummaryJson(summary, framesPerSecond)
                                     : runner::SummaryText(summary, framesPerSecond),
                 reportName);
  quarrow::Finish(report, reportName);
  if (stoppedBy != 0) {
    std::fprintf(stderr, "quarrow-sim: interrupted after %lld match%s\n",
                 static_cast<long long>(summary.matches), summary.matches == 1 ? "" : "es");
    return 128 + stoppedBy;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  runner::ParseResult parsed = runner::ParseOptions(args);
  if (parsed.error.empty() && !parsed.options.help && !parsed.options.version) {
    parsed.error = runner::SharedFileError(NamedFiles(parsed.options));
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "quarrow-sim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  CatchSignals();
  try {
    if (parsed.options.help || parsed.options.version) {
      quarrow::RequireOpen(stdout, "standard output");
      quarrow::Write(stdout,
                     parsed.options.help ? runner::HelpText()
                                         : std::string("quarrow-sim ") + quarrow::kVersion + "\n",
                     "standard output");
      quarrow::Finish(stdout, "standard output");
      return 0;
    }
    return Run(parsed.options);
  } catch (const quarrow::OutputFailed& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what.c_str());
    return 1;
  }
}
