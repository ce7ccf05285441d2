// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <new>
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
#include "text/failure.h"
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

// Set by the first SIGINT or SIGTERM to its number; the run stops after the frame under way.
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
struct Stopped : quarrow::ProgramExit {
  explicit Stopped(int signal) : ProgramExit(128 + signal, "interrupted") {}
};

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

// Plays one run the same in any process: run k is the seed plus k, from a state as at program
// start, so that it does not depend on what ran before it.
class RunPlayer {
 public:
  // Sees every frame of the run once it is played: the match (from 1) and the frame.
  using FrameSeen = std::function<void(std::int64_t match, std::int64_t frame)>;

  RunPlayer(const runner::Options& options, std::uint32_t seed, bool traced)
      : options_(options), seed_(seed), traced_(traced) {}

  // Hands the run's trace records and match results to out; throws Stopped after the frame in
  // which a signal came, its record handed on first.
  void Play(std::int64_t run, const runner::RunOutput& out, const FrameSeen& seen = {}) const {
    const auto runSeed = static_cast<std::uint32_t>(seed_ + run);
    const auto tracedSeed = options_.runs > 1 ? std::optional(runSeed) : std::nullopt;
    quarrow::ResetGameState();
    quarrow::SeededPlatform platform(runSeed, {options_.width, options_.height});
    const quarrow::PlatformInstallation installation(platform);
    std::string records;
    for (std::int64_t match = 1; match <= options_.matches; ++match) {
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options_.maxFrames, [&](std::int64_t frame) {
            if (seen) {
              seen(match, frame);
            }
            if (traced_) {
              runner::AppendTraceRecord(records, match, frame, tracedSeed);
              if (records.size() >= 1 << 16 || stopSignal != 0) {
                out.trace(records);
                records.clear();
              }
            }
            if (stopSignal != 0) {
              throw Stopped(stopSignal);
            }
          });
      if (!records.empty()) {
        out.trace(records);
        records.clear();
      }
      out.match(result, quarrow::CountValues(quarrow::Counts));
    }
  }

  // Gives gif the pictures of the run's last match, frame by frame.
  void DrawLastMatch(runner::MatchGif& gif, std::int64_t match, std::int64_t frame) const {
    if (match == options_.matches && frame > 0) {
      gif.AfterFrame(frame, quarrow::Winner() != 0 || frame == options_.maxFrames);
    }
  }

 private:
  const runner::Options& options_;
  std::uint32_t seed_;
  bool traced_;
};

struct Played {
  analysis::RunStats stats;
  std::int64_t matches = 0;
  std::int64_t frames = 0;
  double seconds = 0;
  int stoppedBy = 0;  // the signal that stopped the run, if one did
};

// Takes every run's trace text and matches in run order, wherever they were played: writes the
// trace and the CSV as they come, and adds up what the summary needs.
class ResultSink {
 public:
  ResultSink(const runner::Options& options, Outputs& outputs, std::uint32_t seed)
      : options_(options),
        outputs_(outputs),
        seed_(seed),
        progress_(options.runs * options.matches) {
    if (outputs_.csv.Wanted()) {
      analysis::AppendCsvHeader(outputs_.csv.Buffer());
    }
  }

  runner::RunOutput Output() {
    return {[this](std::string_view text) { Trace(text); },
            [this](const quarrow::MatchResult& result, const quarrow::CountRow& counts) {
              Match(result, counts);
            }};
  }
  // Progress, shown by this process alone, while a match here is at frame.
  void ShowFrame(std::int64_t frame) {
    progress_.Update(played_.matches + 1, played_.frames + frame);
  }
  Played& Taken() { return played_; }

 private:
  void Trace(std::string_view text) {
    outputs_.trace.Buffer() += text;
    outputs_.trace.Spill();
  }

  // Every run's matches are numbered from 1.
  void Match(const quarrow::MatchResult& result, const quarrow::CountRow& counts) {
    const std::int64_t run = played_.matches / options_.matches;
    const std::int64_t match = played_.matches % options_.matches + 1;
    ++played_.matches;
    played_.frames += result.frames;
    progress_.Show(played_.matches, played_.frames);
    analysis::AddMatch(played_.stats, result, counts);
    if (outputs_.csv.Wanted()) {
      analysis::AppendCsvRow(outputs_.csv.Buffer(),
                             analysis::RowOf(static_cast<std::uint32_t>(seed_ + run), match, result,
                                             counts, runner::ConditionsOf(options_)));
      outputs_.csv.Spill();
    }
  }

  const runner::Options& options_;
  Outputs& outputs_;
  std::uint32_t seed_;
  Progress progress_;
  Played played_;
};

// Every run here, drawing the last match's pictures as it is played.
void PlayHere(const runner::Options& options, const RunPlayer& player, ResultSink& sink,
              runner::MatchGif* gif) {
  const runner::RunOutput out = sink.Output();
  for (std::int64_t run = 0; run < options.runs; ++run) {
    runner::MatchGif* const drawn = run == options.runs - 1 ? gif : nullptr;
    player.Play(run, out, [&](std::int64_t match, std::int64_t frame) {
      sink.ShowFrame(frame);
      if (drawn != nullptr) {
        player.DrawLastMatch(*drawn, match, frame);
      }
    });
  }
}

// Every run in workers, taken here in order; the GIF's pictures are drawn here afterwards, its
// run played again with its results known already.
void PlayInWorkers(const runner::Options& options, int jobs, const RunPlayer& player,
                   ResultSink& sink, runner::MatchGif* gif) {
  runner::PlayRuns(
      options.runs, jobs,
      [&](std::int64_t run, const runner::RunOutput& out) { player.Play(run, out); }, sink.Output(),
      stopSignal);
  if (gif != nullptr && stopSignal == 0) {
    player.Play(
        options.runs - 1, {[](std::string_view) {}, [](auto&, auto&) {}},
        [&](std::int64_t match, std::int64_t frame) { player.DrawLastMatch(*gif, match, frame); });
  }
}

// Plays every run, writing the trace and the CSV in run order as they come, until they are all
// played or a signal stops the run after a frame.
Played PlayMatches(const runner::Options& options, Outputs& outputs, std::uint32_t seed,
                   runner::MatchGif* gif) {
  const auto start = Clock::now();
  ResultSink sink(options, outputs, seed);
  const RunPlayer player(options, seed, outputs.trace.Wanted());
  const int jobs =
      std::min<std::int64_t>(options.jobs.value_or(runner::UsableCores()), options.runs);
  bool stopped = false;
  try {
    if (jobs == 1) {
      PlayHere(options, player, sink, gif);
    } else {
      // Workers ignore the signals; the parent stops waiting for them when one comes.
      PlayInWorkers(options, jobs, player, sink, gif);
    }
  } catch (const Stopped&) {
    // The matches finished so far make the outputs.
    stopped = true;
  }
  Played played = std::move(sink.Taken());
  // A signal once the matches are all played changes nothing.
  played.stoppedBy = stopped || played.matches < options.runs * options.matches ? stopSignal : 0;
  played.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return played;
}

// The histogram and the summary, with every output put in place first, all together; frames per
// second below 0 are not known.
void Report(const runner::Options& options, Outputs& outputs, const analysis::Summary& summary,
            double framesPerSecond) {
  if (outputs.histogram.Wanted()) {
    outputs.histogram.Buffer() = analysis::HistogramSvg(summary);
  }
  runner::FinishTogether({&outputs.trace, &outputs.csv, &outputs.histogram, &outputs.gif});
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
  const Played played = PlayMatches(options, outputs, seed, gif ? &*gif : nullptr);
  const auto lastSeed = static_cast<std::uint32_t>(
      seed + std::max<std::int64_t>(0, played.matches - 1) / options.matches);
  analysis::Summary summary = analysis::Summarize(played.stats, runner::ConditionsOf(options), seed,
                                                  lastSeed, lastSeed - seed + std::int64_t{1});
  summary.interrupted = played.stoppedBy != 0;
  if (gif && played.stoppedBy == 0) {
    outputs.gif.Buffer() = gif->Finish();
  } else {
    // The last match unfinished, there is no GIF of it: an earlier file stays as it was.
    outputs.gif = {};
  }
  Report(options, outputs, summary,
         played.seconds > 0 ? static_cast<double>(played.frames) / played.seconds : 0.0);
  if (played.stoppedBy != 0) {
    throw quarrow::ProgramExit(128 + played.stoppedBy,
                               "interrupted after " + std::to_string(summary.matches) + " match" +
                                   (summary.matches == 1 ? "" : "es"));
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
    throw quarrow::ProgramExit(128 + stopSignal,
                               "interrupted after reading " + std::to_string(matches) + " match" +
                                   (matches == 1 ? "" : "es") + "; nothing written");
  }
  Report(options, outputs,
         analysis::Summarize(stats, pooled.conditions, pooled.seeds.lowest, pooled.seeds.highest,
                             pooled.seeds.distinct),
         -1);
  return 0;
}

int Answer(const runner::Options& options) {
  if (options.help || options.version) {
    quarrow::RequireOpen(stdout, "standard output");
    quarrow::Write(
        stdout,
        options.help ? runner::HelpText() : std::string("quarrow-sim ") + quarrow::kVersion + "\n",
        "standard output");
    quarrow::Finish(stdout, "standard output");
    return 0;
  }
  CatchSignals();
  return options.pool.empty() ? Run(options) : Pool(options);
}

}  // namespace

// Every way out but a signal's comes through here, the stack unwound on the way: no temporary file
// outlives a failure.
int main(int argc, char** argv) {
  try {
    return Answer(runner::TakeOptions(std::vector<std::string_view>(argv + 1, argv + argc)));
  } catch (const quarrow::ProgramExit& end) {
    std::fprintf(stderr, "quarrow-sim: %s\n", end.what());
    return end.Status();
  } catch (const std::bad_alloc&) {
    std::fputs("quarrow-sim: out of memory\n", stderr);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what());
  } catch (...) {
    std::fputs("quarrow-sim: unexpected failure\n", stderr);
  }
  return 1;
}
