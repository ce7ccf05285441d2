// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/histogram_svg.h"
#include "analysis/match_csv.h"
#include "analysis/match_pool.h"
#include "analysis/match_stats.h"
#include "build_info.h"
#include "game/game_state.h"
#include "game/platform.h"
#include "match_gif.h"
#include "options.h"
#include "outputs.h"
#include "sim/frame.h"
#include "text/checked_output.h"
#include "text/whole_file.h"
#include "trace.h"
#include "workers.h"

namespace {

using Clock = std::chrono::steady_clock;

class Progress {
 public:
  Progress(std::int64_t matches) : matches_(matches), enabled_(isatty(STDERR_FILENO) != 0) {}
  // Cheap enough for every frame: looks at the clock once in 65536 frames.
  void Update(std::int64_t match, std::int64_t frames) {
    if ((frames & 0xFFFF) == 0) {
      Show(match, frames);
    }
  }
  void Show(std::int64_t match, std::int64_t frames) {
    if (!enabled_) {
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

namespace analysis = quarrow::analysis;
namespace runner = quarrow::runner;
using runner::stopSignal;

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
  // A histogram drawn over a CSV being pooled would replace it.
  for (const std::string& path : options.pool) {
    named.emplace_back("--pool", path);
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
  analysis::RunStats stats;
  std::int64_t matches = 0;
  std::int64_t frames = 0;
  double seconds = 0;
  int stoppedBy = 0;  // the signal that stopped the run, if one did
};

// Plays every run, here or in workers, writing the trace and the CSV in run order as they come and
// keeping the last match's pictures for a GIF, until they are all played or a signal stops the
// run after a frame.
Played PlayMatches(const runner::Options& options, Outputs& outputs, std::uint32_t seed,
                   std::optional<runner::MatchGif>& gif) {
  if (outputs.csv.Wanted()) {
    analysis::AppendCsvHeader(outputs.csv.Buffer());
  }
  Played played;
  const int jobs =
      std::min<std::int64_t>(options.jobs.value_or(runner::UsableCores()), options.runs);
  const bool several = options.runs > 1;
  const auto start = Clock::now();
  Progress progress(options.runs * options.matches);
  // One run, in a worker or here; progress is shown by this process alone.
  const auto play = [&](std::int64_t run, const runner::RunOutput& out, Progress* shown,
                        runner::MatchGif* gifOfLastRun) {
    const auto runSeed = static_cast<std::uint32_t>(seed + run);
    runner::MatchGif* const drawn = run == options.runs - 1 ? gifOfLastRun : nullptr;
    // As at program start, so that a run is the same whatever ran before it in this process.
    quarrow::ResetGameState();
    quarrow::SeededPlatform platform(runSeed, {options.width, options.height});
    const quarrow::PlatformInstallation installation(platform);
    std::string records;
    for (std::int64_t match = 1; match <= options.matches; ++match) {
      const std::int64_t shownMatch = run * options.matches + match;
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
            if (shown != nullptr) {
              shown->Update(shownMatch, played.frames + frame);
            }
            if (drawn != nullptr && match == options.matches && frame > 0) {
              drawn->AfterFrame(frame, quarrow::Winner() != 0 || frame == options.maxFrames);
            }
            if (outputs.trace.Wanted()) {
              runner::AppendTraceRecord(records, match, frame,
                                        several ? std::optional(runSeed) : std::nullopt);
              if (records.size() >= 1 << 16 || stopSignal != 0) {
                out.trace(records);
                records.clear();
              }
            }
            if (stopSignal != 0) {
              throw Stopped{};
            }
          });
      if (!records.empty()) {
        out.trace(records);
        records.clear();
      }
      out.match(result, quarrow::CountValues(quarrow::Counts));
    }
  };
  // Every run's matches in order, numbered from 1 in each run.
  const runner::RunOutput take{
      [&](std::string_view text) {
        outputs.trace.Buffer() += text;
        outputs.trace.Spill();
      },
      [&](const quarrow::MatchResult& result, const quarrow::CountRow& counts) {
        const std::int64_t run = played.matches / options.matches;
        const std::int64_t match = played.matches % options.matches + 1;
        ++played.matches;
        played.frames += result.frames;
        progress.Show(played.matches, played.frames);
        analysis::AddMatch(played.stats, result, counts);
        if (outputs.csv.Wanted()) {
          analysis::AppendCsvRow(outputs.csv.Buffer(),
                                 analysis::RowOf(static_cast<std::uint32_t>(seed + run), match,
                                                 result, counts, runner::ConditionsOf(options)));
          outputs.csv.Spill();
        }
      }};
  runner::MatchGif* const drawn = gif ? &*gif : nullptr;
  bool stopped = false;
  try {
    if (jobs == 1) {
      for (std::int64_t run = 0; run < options.runs; ++run) {
        play(run, take, &progress, drawn);
      }
    } else {
      // Workers ignore the signals; the parent stops waiting for them when one comes.
      runner::PlayRuns(
          options.runs, jobs,
          [&](std::int64_t run, const runner::RunOutput& out) { play(run, out, nullptr, nullptr); },
          take);
      // The GIF's pictures are drawn here: its run is played again, its results known already.
      if (drawn != nullptr && stopSignal == 0) {
        play(options.runs - 1, {[](std::string_view) {}, [](auto&, auto&) {}}, nullptr, drawn);
      }
    }
  } catch (const Stopped&) {
    // The matches finished so far make the outputs.
    stopped = true;
  }
  // A signal once the matches are all played changes nothing.
  played.stoppedBy = stopped || played.matches < options.runs * options.matches ? stopSignal : 0;
  played.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return played;
}

// The histogram and the summary, with every output put in place first; frames per second below 0
// are not known.
void Report(const runner::Options& options, Outputs& outputs, const analysis::Summary& summary,
            double framesPerSecond) {
  if (outputs.histogram.Wanted()) {
    outputs.histogram.Buffer() = analysis::HistogramSvg(summary);
  }
  for (runner::Output* out : {&outputs.trace, &outputs.csv, &outputs.histogram}) {
    out->Finish();
  }
  quarrow::Write(outputs.report,
                 options.jsonSummary ? analysis::SummaryJson(summary, framesPerSecond)
                                     : analysis::SummaryText(summary, framesPerSecond),
                 outputs.reportName);
  quarrow::Finish(outputs.report, outputs.reportName);
}

int Run(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  Outputs outputs = OpenOutputs(options);
  // A seed from the clock leaves room for every run's.
  const std::uint32_t seed = options.seed.value_or(static_cast<std::uint32_t>(
      quarrow::ClockSeed() % ((std::int64_t{1} << 32) - options.runs + 1)));
  if (!options.seed && !options.jsonSummary) {
    quarrow::Write(outputs.report, "seed " + std::to_string(seed) + "\n", outputs.reportName);
    // Before any worker starts with a copy of it.
    quarrow::Finish(outputs.report, outputs.reportName);
  }

  std::optional<runner::MatchGif> gif;
  if (outputs.gif.Wanted()) {
    gif.emplace(options.width, options.height, options.gifEvery);
  }
  const Played played = PlayMatches(options, outputs, seed, gif);
  const auto lastSeed = static_cast<std::uint32_t>(
      seed + std::max<std::int64_t>(0, played.matches - 1) / options.matches);
  analysis::Summary summary = analysis::Summarize(played.stats, runner::ConditionsOf(options), seed,
                                                  lastSeed, lastSeed - seed + std::int64_t{1});
  summary.interrupted = played.stoppedBy != 0;
  Report(options, outputs, summary,
         played.seconds > 0 ? static_cast<double>(played.frames) / played.seconds : 0.0);
  // The last match unfinished, there is no GIF of it: an earlier file stays as it was.
  if (gif && played.stoppedBy == 0) {
    outputs.gif.Buffer() = gif->Finish();
    outputs.gif.Finish();
  }
  if (played.stoppedBy != 0) {
    std::fprintf(stderr, "quarrow-sim: interrupted after %lld match%s\n",
                 static_cast<long long>(summary.matches), summary.matches == 1 ? "" : "es");
    return 128 + played.stoppedBy;
  }
  return 0;
}

// Sums up the CSVs of earlier runs as one run over all their matches.
int Pool(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  Outputs outputs = OpenOutputs(options);
  analysis::RunStats stats;
  std::int64_t matches = 0;
  const analysis::Pooled pooled = analysis::ReadPool(
      options.pool, runner::CsvLimitsOfRuns(),
      [&](const quarrow::MatchResult& result, const quarrow::CountRow& counts) {
        analysis::AddMatch(stats, result, counts);
        ++matches;
      },
      &stopSignal);
  // Part of a pool is no study of its own, and which part depends on when the signal came.
  if (pooled.stopped) {
    std::fprintf(stderr, "quarrow-sim: interrupted after reading %lld match%s; nothing written\n",
                 static_cast<long long>(matches), matches == 1 ? "" : "es");
    return 128 + stopSignal;
  }
  Report(options, outputs,
         analysis::Summarize(stats, pooled.conditions, pooled.seeds.lowest, pooled.seeds.highest,
                             pooled.seeds.distinct),
         -1);
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
    return parsed.options.pool.empty() ? Run(parsed.options) : Pool(parsed.options);
  } catch (const quarrow::OutputFailed& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what.c_str());
    return 1;
  } catch (const runner::WorkerFailed& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what.c_str());
    return 1;
  } catch (const analysis::PoolRefused& refusal) {
    std::fprintf(stderr, "quarrow-sim: %s\n", refusal.what.c_str());
    return 2;
  }
}
