// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <algorithm>
#include <csignal>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
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
#include "game/platform.h"
#include "options.h"
#include "sim/frame.h"
#include "text/checked_output.h"
#include "text/escaped.h"
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

// Where one kind of output goes: standard output for "-", else a file opened before the run so
// that a bad name fails at once. No file when the output was not asked for.
struct Output {
  std::FILE* file = nullptr;
  std::string name;  // as an error shows it
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned{nullptr, &std::fclose};
};

Output Open(const std::optional<std::string>& path, std::string_view what) {
  Output out;
  if (!path) {
    return out;
  }
  if (*path == "-") {
    out.file = stdout;
    out.name = "standard output";
    return out;
  }
  out.name = std::string("the ") + std::string(what) + " '" + quarrow::Escaped(*path) + "'";
  out.owned.reset(std::fopen(path->c_str(), "wb"));
  if (out.owned == nullptr) {
    throw quarrow::OutputFailed{"cannot write " + out.name + ": " + std::strerror(errno)};
  }
  out.file = out.owned.get();
  return out;
}

// Writes out what has gathered once it is large enough to be worth a write.
void Spill(std::string& buffer, const Output& out, std::size_t atLeast = 0) {
  if (out.file != nullptr && buffer.size() >= atLeast) {
    quarrow::Write(out.file, buffer, out.name);
    buffer.clear();
  }
}

void OnInterrupt(int signal) {
  runner::stopSignal = signal;
}

// Every output of a run, opened before it starts so that a bad name fails at once.
struct Outputs {
  Output trace;
  Output csv;
  Output histogram;
  Output report;  // the summary: standard error when the trace or the CSV takes standard output
};

Outputs OpenOutputs(const runner::Options& options) {
  Outputs outputs;
  outputs.trace = Open(options.trace, "trace");
  outputs.csv = Open(options.csv, "CSV");
  outputs.histogram = Open(options.histogram, "histogram");
  const bool reportToStderr = outputs.trace.file == stdout || outputs.csv.file == stdout;
  outputs.report.file = reportToStderr ? stderr : stdout;
  outputs.report.name = reportToStderr ? "standard error" : "standard output";
  return outputs;
}

// Writes what is left of a buffer and closes its output.
void Finish(std::string& buffer, const Output& out) {
  Spill(buffer, out);
  if (out.file != nullptr) {
    quarrow::Finish(out.file, out.name);
  }
}

// The histogram and the summary; frames per second below 0 are not known.
void Report(const runner::Options& options, const Outputs& outputs,
            const analysis::Summary& summary, double framesPerSecond) {
  if (outputs.histogram.file != nullptr) {
    std::string picture = analysis::HistogramSvg(summary);
    Finish(picture, outputs.histogram);
  }
  const Output& report = outputs.report;
  quarrow::Write(report.file,
                 options.jsonSummary ? analysis::SummaryJson(summary, framesPerSecond)
                                     : analysis::SummaryText(summary, framesPerSecond),
                 report.name);
  quarrow::Finish(report.file, report.name);
}

struct Played {
  analysis::RunStats stats;
  std::int64_t matches = 0;
  std::int64_t frames = 0;
  double seconds = 0;
};

// Plays every run, here or in workers, writing the trace and the CSV in run order as they come.
Played PlayMatches(const runner::Options& options, const Outputs& outputs, std::uint32_t seed) {
  std::string trace;
  std::string csv;
  if (outputs.csv.file != nullptr) {
    analysis::AppendCsvHeader(csv);
  }
  Played played;
  const int jobs =
      std::min<std::int64_t>(options.jobs.value_or(runner::UsableCores()), options.runs);
  const bool several = options.runs > 1;
  const auto start = Clock::now();
  {
    Progress progress(options.runs * options.matches);
    // One run, in a worker or here; progress is shown by this process alone.
    const auto play = [&](std::int64_t run, const runner::RunOutput& out, Progress* shown) {
      const auto runSeed = static_cast<std::uint32_t>(seed + run);
      // As at program start, so that a run is the same whatever ran before it in this process.
      quarrow::ResetGameState();
      quarrow::SeededPlatform platform(runSeed, {options.width, options.height});
      const quarrow::PlatformInstallation installation(platform);
      std::string records;
      for (std::int64_t match = 1; match <= options.matches && runner::stopSignal == 0; ++match) {
        const std::int64_t shownMatch = run * options.matches + match;
        const quarrow::MatchResult result =
            quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
              if (shown != nullptr) {
                shown->Update(shownMatch, played.frames + frame);
              }
              if (outputs.trace.file == nullptr) {
                return;
              }
              runner::AppendTraceRecord(records, match, frame,
                                        several ? std::optional(runSeed) : std::nullopt);
              if (records.size() >= 1 << 16) {
                out.trace(records);
                records.clear();
              }
            });
        if (!records.empty()) {
          out.trace(records);
          records.clear();
        }
        out.match(result, quarrow::Counts);
      }
    };
    // Every run's matches in order, numbered from 1 in each run.
    const runner::RunOutput take{
        [&](std::string_view text) {
          trace += text;
          Spill(trace, outputs.trace, 1 << 16);
        },
        [&](const quarrow::MatchResult& result, const quarrow::MatchCounts& counts) {
          const std::int64_t run = played.matches / options.matches;
          const std::int64_t match = played.matches % options.matches + 1;
          ++played.matches;
          played.frames += result.frames;
          progress.Show(played.matches, played.frames);
          analysis::AddMatch(played.stats, result, counts);
          if (outputs.csv.file != nullptr) {
            analysis::AppendCsvRow(csv, static_cast<std::uint32_t>(seed + run), match, result,
                                   counts);
            Spill(csv, outputs.csv, 1 << 16);
          }
        }};
    if (jobs == 1) {
      for (std::int64_t run = 0; run < options.runs && runner::stopSignal == 0; ++run) {
        play(run, take, &progress);
      }
    } else {
      runner::PlayRuns(
          options.runs, jobs,
          [&](std::int64_t run, const runner::RunOutput& out) { play(run, out, nullptr); }, take);
    }
  }
  played.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  Finish(trace, outputs.trace);
  Finish(csv, outputs.csv);
  return played;
}

int Run(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  const Outputs outputs = OpenOutputs(options);
  const Output& report = outputs.report;
  // A seed from the clock leaves room for every run's.
  const std::uint32_t seed = options.seed.value_or(static_cast<std::uint32_t>(
      quarrow::ClockSeed() % ((std::int64_t{1} << 32) - options.runs + 1)));
  if (!options.seed && !options.jsonSummary) {
    quarrow::Write(report.file, "seed " + std::to_string(seed) + "\n", report.name);
    quarrow::Finish(report.file, report.name);
  }
  struct sigaction interrupt {};
  interrupt.sa_handler = OnInterrupt;
  sigaction(SIGINT, &interrupt, nullptr);
  sigaction(SIGTERM, &interrupt, nullptr);

  const Played played = PlayMatches(options, outputs, seed);
  if (played.matches == 0) {
    std::fprintf(stderr, "quarrow-sim: interrupted before the first match ended\n");
    return 128 + runner::stopSignal;
  }
  const auto lastSeed = static_cast<std::uint32_t>(seed + (played.matches - 1) / options.matches);
  Report(options, outputs,
         analysis::Summarize(played.stats, seed, lastSeed, lastSeed - seed + std::int64_t{1}),
         played.seconds > 0 ? static_cast<double>(played.frames) / played.seconds : 0.0);
  if (runner::stopSignal != 0) {
    std::fprintf(stderr, "quarrow-sim: interrupted after %lld matches\n",
                 static_cast<long long>(played.matches));
    return 128 + runner::stopSignal;
  }
  return 0;
}

// Sums up the CSVs of earlier runs as one run over all their matches.
int Pool(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  const Outputs outputs = OpenOutputs(options);
  analysis::RunStats stats;
  const analysis::PoolSeeds seeds = analysis::ReadPool(
      options.pool, [&](const quarrow::MatchResult& result, const analysis::CountRow& counts) {
        analysis::AddMatch(stats, result, counts);
      });
  if (stats.frames.empty()) {
    throw analysis::PoolRefused{"no match in " + std::to_string(options.pool.size()) + " file" +
                                (options.pool.size() == 1 ? "" : "s")};
  }
  Report(options, outputs, analysis::Summarize(stats, seeds.lowest, seeds.highest, seeds.distinct),
         -1);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const runner::ParseResult parsed = runner::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "quarrow-sim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
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
