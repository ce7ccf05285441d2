// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "build_info.h"
#include "game/platform.h"
#include "options.h"
#include "output.h"
#include "sim/frame.h"
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

}  // namespace

namespace {

namespace sim = quarrow::sim;

int Run(const sim::Options& options) {
  sim::RequireOpen(stdout, "standard output");
  std::FILE* trace = nullptr;
  std::string traceName;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceFile(nullptr, &std::fclose);
  if (options.trace == "-") {
    trace = stdout;
    traceName = "standard output";
  } else if (options.trace) {
    traceName = "the trace '" + sim::Escaped(*options.trace) + "'";
    traceFile.reset(std::fopen(options.trace->c_str(), "wb"));
    if (traceFile == nullptr) {
      std::fprintf(stderr, "quarrow-sim: cannot write %s\n", traceName.c_str());
      return 2;
    }
    trace = traceFile.get();
  }
  // With the trace on standard output, everything else goes to standard error.
  FILE* report = trace == stdout ? stderr : stdout;
  const char* reportName = trace == stdout ? "standard error" : "standard output";

  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed) {
    sim::Write(report, "seed " + std::to_string(seed) + "\n", reportName);
  }
  quarrow::SeededPlatform platform(seed, {options.width, options.height});
  const quarrow::PlatformInstallation installation(platform);

  std::string buffer;
  std::int64_t totalFrames = 0;
  std::int64_t wins[3] = {0, 0, 0};
  std::int64_t stalls = 0;
  const auto start = Clock::now();
  {
    Progress progress(options.matches);
    for (std::int64_t match = 1; match <= options.matches; ++match) {
      const quarrow::MatchResult result =
          quarrow::PlayMatch(options.maxFrames, [&](std::int64_t frame) {
            progress.Update(match, totalFrames + frame);
            if (trace == nullptr) {
              return;
            }
            sim::AppendTraceRecord(buffer, match, frame);
            if (buffer.size() >= (1 << 16)) {
              sim::Write(trace, buffer, traceName);
              buffer.clear();
            }
          });
      totalFrames += result.frames;
      if (result.winner == 0) {
        ++stalls;
      } else {
        ++wins[result.winner];
      }
    }
  }
  if (trace != nullptr) {
    sim::Write(trace, buffer, traceName);
    sim::Finish(trace, traceName);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  char summary[256];
  std::snprintf(summary, sizeof summary,
                "matches %lld, frames %lld, team 1 won %lld, team 2 won %lld, stalls %lld, "
                "%.0f frames per second\n",
                static_cast<long long>(options.matches), static_cast<long long>(totalFrames),
                static_cast<long long>(wins[1]), static_cast<long long>(wins[2]),
                static_cast<long long>(stalls), seconds > 0 ? totalFrames / seconds : 0.0);
  sim::Write(report, summary, reportName);
  sim::Finish(report, reportName);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const sim::ParseResult parsed = sim::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "quarrow-sim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  try {
    if (parsed.options.help || parsed.options.version) {
      sim::RequireOpen(stdout, "standard output");
      sim::Write(stdout,
                 parsed.options.help ? sim::HelpText()
                                     : std::string("quarrow-sim ") + quarrow::kVersion + "\n",
                 "standard output");
      sim::Finish(stdout, "standard output");
      return 0;
    }
    return Run(parsed.options);
  } catch (const sim::OutputFailed& failure) {
    std::fprintf(stderr, "quarrow-sim: %s\n", failure.what.c_str());
    return 1;
  }
}
