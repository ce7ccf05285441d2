// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "build_info.h"
#include "game/platform.h"
#include "options.h"
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

int main(int argc, char** argv) {
  namespace sim = quarrow::sim;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const sim::ParseResult parsed = sim::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "quarrow-sim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  const sim::Options& options = parsed.options;
  if (options.help) {
    std::fputs(sim::HelpText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("quarrow-sim %s\n", quarrow::kVersion);
    return 0;
  }

  std::ofstream traceFile;
  std::ostream* trace = nullptr;
  if (options.trace == "-") {
    trace = &std::cout;
  } else if (options.trace) {
    traceFile.open(*options.trace, std::ios::binary | std::ios::trunc);
    if (!traceFile) {
      std::fprintf(stderr, "quarrow-sim: cannot write the trace to '%s'\n", options.trace->c_str());
      return 2;
    }
    trace = &traceFile;
  }
  // With the trace on standard output, everything else goes to standard error.
  FILE* report = trace == &std::cout ? stderr : stdout;

  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed) {
    std::fprintf(report, "seed %u\n", seed);
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
              trace->write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
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
    trace->write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    trace->flush();
    if (!*trace) {
      std::fprintf(stderr, "quarrow-sim: writing the trace failed\n");
      return 1;
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::fprintf(report,
               "matches %lld, frames %lld, team 1 won %lld, team 2 won %lld, stalls %lld, "
               "%.0f frames per second\n",
               static_cast<long long>(options.matches), static_cast<long long>(totalFrames),
               static_cast<long long>(wins[1]), static_cast<long long>(wins[2]),
               static_cast<long long>(stalls), seconds > 0 ? totalFrames / seconds : 0.0);
  return 0;
}
