// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <sys/stat.h>
#include <unistd.h>

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

#include "build_info.h"
#include "game/platform.h"
#include "histogram_svg.h"
#include "match_csv.h"
#include "match_gif.h"
#include "match_stats.h"
#include "options.h"
#include "sim/frame.h"
#include "text/checked_output.h"
#include "text/escaped.h"
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

// Where one kind of output goes: standard output for "-", else a file opened before the run so
// that a bad name fails at once. No file when the output was not asked for.
// A temporary file that is removed unless it was renamed into place.
struct RemoveUnlessKept {
  void operator()(std::string* path) const {
    std::remove(path->c_str());
    std::default_delete<std::string>()(path);
  }
};

struct Output {
  std::FILE* file = nullptr;
  std::string name;  // as an error shows it
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned{nullptr, &std::fclose};
  // For a file written whole or not at all: the temporary beside it, and the file itself.
  std::unique_ptr<std::string, RemoveUnlessKept> temporary;
  std::string target;
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

// Opens a temporary file beside path, renamed over it by Keep once complete: a run that fails
// halfway leaves no file that looks whole, and an earlier one as it was.
Output OpenWhole(const std::optional<std::string>& path, std::string_view what) {
  // A device or a pipe is written to as it is: renaming over it would replace it.
  struct stat existing {};
  if (!path || (stat(path->c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))) {
    return Open(path, what);
  }
  Output out;
  out.name = std::string("the ") + std::string(what) + " '" + quarrow::Escaped(*path) + "'";
  std::string pattern = *path + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd == -1) {
    throw quarrow::OutputFailed{"cannot write " + out.name + ": " + std::strerror(errno)};
  }
  out.temporary.reset(std::make_unique<std::string>(pattern).release());
  out.target = *path;
  // The permissions a plain create would have given; mkstemp's are the owner's alone.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  out.owned.reset(fdopen(fd, "wb"));
  if (out.owned == nullptr) {
    close(fd);
    throw quarrow::OutputFailed{"cannot write " + out.name + ": " + std::strerror(errno)};
  }
  out.file = out.owned.get();
  return out;
}

// Closes a finished whole file and puts it in place.
void Keep(Output& out) {
  if (!out.temporary) {
    return;
  }
  out.file = nullptr;
  if (std::fclose(out.owned.release()) != 0 ||
      std::rename(out.temporary->c_str(), out.target.c_str()) != 0) {
    throw quarrow::OutputFailed{"cannot write " + out.name + ": " + std::strerror(errno)};
  }
  std::default_delete<std::string>()(out.temporary.release());
}

// Writes out what has gathered once it is large enough to be worth a write.
void Spill(std::string& buffer, const Output& out, std::size_t atLeast = 0) {
  if (out.file != nullptr && buffer.size() >= atLeast) {
    quarrow::Write(out.file, buffer, out.name);
    buffer.clear();
  }
}

// Every output of a run, opened before it starts so that a bad name fails at once.
struct Outputs {
  Output trace;
  Output csv;
  Output histogram;
  Output gif;     // written whole or not at all
  Output report;  // the summary: standard error when the trace or the CSV takes standard output
};

Outputs OpenOutputs(const runner::Options& options) {
  Outputs outputs;
  outputs.trace = Open(options.trace, "trace");
  outputs.csv = Open(options.csv, "CSV");
  outputs.histogram = Open(options.histogram, "histogram");
  outputs.gif = OpenWhole(options.gif, "GIF");
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

struct Played {
  runner::RunStats stats;
  std::int64_t frames = 0;
  double seconds = 0;
};

// Plays every match of the run, writing the trace and the CSV as they come, and keeping the last
// match's pictures when a GIF is asked for.
Played PlayMatches(const runner::Options& options, const Outputs& outputs,
                   std::optional<runner::MatchGif>& gif) {
  std::string trace;
  std::string csv;
  if (outputs.csv.file != nullptr) {
    runner::AppendCsvHeader(csv);
  }
  Played played;
  const auto start = Clock::now();
  {
    Progress progress(options.matches);
    for (std::int64_t match = 1; match <= options.matches; ++match) {
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
            progress.Update(match, played.frames + frame);
            if (gif && match == options.matches && frame > 0) {
              gif->AfterFrame(frame, quarrow::Winner() != 0 || frame == options.maxFrames);
            }
            if (outputs.trace.file == nullptr) {
              return;
            }
            runner::AppendTraceRecord(trace, match, frame);
            Spill(trace, outputs.trace, 1 << 16);
          });
      played.frames += result.frames;
      runner::AddMatch(played.stats, result, quarrow::Counts);
      if (outputs.csv.file != nullptr) {
        runner::AppendCsvRow(csv, match, result, quarrow::Counts);
        Spill(csv, outputs.csv, 1 << 16);
      }
    }
  }
  played.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  Finish(trace, outputs.trace);
  Finish(csv, outputs.csv);
  return played;
}

int Run(const runner::Options& options) {
  quarrow::RequireOpen(stdout, "standard output");
  Outputs outputs = OpenOutputs(options);
  const Output& report = outputs.report;
  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed && !options.jsonSummary) {
    quarrow::Write(report.file, "seed " + std::to_string(seed) + "\n", report.name);
  }
  quarrow::SeededPlatform platform(seed, {options.width, options.height});
  const quarrow::PlatformInstallation installation(platform);

  std::optional<runner::MatchGif> gif;
  if (outputs.gif.file != nullptr) {
    gif.emplace(options.width, options.height, options.gifEvery);
  }
  const Played played = PlayMatches(options, outputs, gif);
  const runner::Summary summary = runner::Summarize(played.stats, seed);
  if (outputs.histogram.file != nullptr) {
    std::string picture = runner::HistogramSvg(summary);
    Finish(picture, outputs.histogram);
  }
  if (gif) {
    std::string animation = gif->Finish();
    Finish(animation, outputs.gif);
    Keep(outputs.gif);
  }
  const double framesPerSecond = played.seconds > 0 ? played.frames / played.seconds : 0.0;
  quarrow::Write(report.file,
                 options.jsonSummary ? runner::SummaryJson(summary, framesPerSecond)
                                     : runner::SummaryText(summary, framesPerSecond),
                 report.name);
  quarrow::Finish(report.file, report.name);
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
    return Run(parsed.options);
  } catch (const quarrow::OutputFailed& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what.c_str());
    return 1;
  }
}
