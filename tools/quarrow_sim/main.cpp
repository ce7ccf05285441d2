// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "build_info.h"
#include "game/platform.h"
#include "histogram_svg.h"
#include "match_csv.h"
#include "match_gif.h"
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
                                     {"--histogram", &options.histogram},
                                     {"--gif", &options.gif}}) {
    if (path->has_value()) {
      named.emplace_back(option, **path);
    }
  }
  return named;
}

// Every output of a run, opened before it starts so that a bad name fails at once.
struct Outputs {
  runner::Output trace;
  runner::Output csv;
  runner::Output histogram;
  runner::Output gif;
  // The summary: standard error when the trace or the CSV takes standard output.
  std::FILE* report = stdout;
  const char* reportName = "standard output";
};

Outputs OpenOutputs(const runner::Options& options) {
  Outputs outputs{runner::Output(options.trace, "trace"), runner::Output(options.csv, "CSV"),
                  runner::Output(options.histogram, "histogram"),
                  runner::Output(options.gif, "GIF")};
  if (outputs.trace.ToStandardOutput() || outputs.csv.ToStandardOutput()) {
    outputs.report = stderr;
    outputs.reportName = "standard error";
  }
  return outputs;
}

struct Played {
  runner::RunStats stats;
  std::int64_t frames = 0;
  double seconds = 0;
  int stoppedBy = 0;  // the signal that stopped the run, if one did
};

// Plays the matches of the run, writing the trace and the CSV as they come and keeping the last
// match's pictures for a GIF, until they are all played or a signal stops the run after a frame.
Played PlayMatches(const runner::Options& options, Outputs& outputs,
                   std::optional<runner::MatchGif>& gif) {
  if (outputs.csv.Wanted()) {
    runner::AppendCsvHeader(outputs.csv.Buffer());
  }
  Played played;
  const auto start = Clock::now();
  try {
    Progress progress(options.matches);
    for (std::int64_t match = 1; match <= options.matches; ++match) {
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
            progress.Update(match, played.frames + frame);
            if (gif && match == options.matches && frame > 0) {
              gif->AfterFrame(frame, quarrow::Winner() != 0 || frame == options.maxFrames);
            }
            if (outputs.trace.Wanted()) {
              runner::AppendTraceRecord(outputs.trace.Buffer(), match, frame);
              outputs.trace.Spill();
            }
            if (stopSignal != 0) {
              throw Stopped{};
            }
          });
      played.frames += result.frames;
      runner::AddMatch(played.stats, result, quarrow::Counts);
      if (outputs.csv.Wanted()) {
        runner::AppendCsvRow(outputs.csv.Buffer(), match, result, quarrow::Counts);
        outputs.csv.Spill();
      }
    }
  } catch (const Stopped&) {
    // The matches finished so far make the outputs.
  }
  // A signal once the matches are all played changes nothing.
  played.stoppedBy = stopSignal;
  played.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return played;
}

int Run(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  Outputs outputs = OpenOutputs(options);
  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed && !options.jsonSummary) {
    quarrow::Write(outputs.report, "seed " + std::to_string(seed) + "\n", outputs.reportName);
  }
  quarrow::SeededPlatform platform(seed, {options.width, options.height});
  const quarrow::PlatformInstallation installation(platform);

  std::optional<runner::MatchGif> gif;
  if (outputs.gif.Wanted()) {
    gif.emplace(options.width, options.height, options.gifEvery);
  }
  const Played played = PlayMatches(options, outputs, gif);
  runner::Summary summary = runner::Summarize(played.stats, seed);
  summary.interrupted = played.stoppedBy != 0;
  if (outputs.histogram.Wanted()) {
    outputs.histogram.Buffer() = runner::HistogramSvg(summary);
  }
  for (runner::Output* out : {&outputs.trace, &outputs.csv, &outputs.histogram}) {
    out->Finish();
  }
  // The last match unfinished, there is no GIF of it: an earlier file stays as it was.
  if (gif && played.stoppedBy == 0) {
    outputs.gif.Buffer() = gif->Finish();
    outputs.gif.Finish();
  }
  const double framesPerSecond = played.seconds > 0 ? played.frames / played.seconds : 0.0;
  quarrow::Write(outputs.report,
                 options.jsonSummary ? runner::SummaryJson(summary, framesPerSecond)
                                     : runner::SummaryText(summary, framesPerSecond),
                 outputs.reportName);
  quarrow::Finish(outputs.report, outputs.reportName);
  if (played.stoppedBy != 0) {
    std::fprintf(stderr, "quarrow-sim: interrupted after %lld match%s\n",
                 static_cast<long long>(summary.matches), summary.matches == 1 ? "" : "es");
    return 128 + played.stoppedBy;
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
