// quarrow-sim: plays matches without a window, for analysis, soak runs and traces.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "build_info.h"
#include "game/platform.h"
#include "histogram_svg.h"
#include "match_csv.h"
#include "match_stats.h"
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

// Standard output for "-", else the named file, opened before the run so that a bad name fails at
// once. Null when there is nothing to write or the file cannot be opened.
std::ostream* OpenOutput(const std::optional<std::string>& name, std::ofstream& file) {
  if (!name) {
    return nullptr;
  }
  if (*name == "-") {
    return &std::cout;
  }
  file.open(*name, std::ios::binary | std::ios::trunc);
  return file ? &file : nullptr;
}

// Writes out what has gathered once it is large enough to be worth a write.
void Spill(std::string& buffer, std::ostream* out, std::size_t atLeast = 0) {
  if (out != nullptr && buffer.size() >= atLeast) {
    out->write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    buffer.clear();
  }
}

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

  std::ofstream traceFile, csvFile, histogramFile;
  std::ostream* trace = OpenOutput(options.trace, traceFile);
  std::ostream* csv = OpenOutput(options.csv, csvFile);
  std::ostream* histogram = OpenOutput(options.histogram, histogramFile);
  for (const auto& [name, out, what] :
       {std::tuple{&options.trace, trace, "trace"}, std::tuple{&options.csv, csv, "CSV"},
        std::tuple{&options.histogram, histogram, "histogram"}}) {
    if (*name && out == nullptr) {
      std::fprintf(stderr, "quarrow-sim: cannot write the %s to '%s'\n", what, (*name)->c_str());
      return 1;
    }
  }
  // With the trace or the CSV on standard output, everything else goes to standard error.
  FILE* report = trace == &std::cout || csv == &std::cout ? stderr : stdout;

  const std::uint32_t seed = options.seed.value_or(quarrow::ClockSeed());
  if (!options.seed && !options.jsonSummary) {
    std::fprintf(report, "seed %u\n", seed);
  }
  quarrow::SeededPlatform platform(seed, {options.width, options.height});
  const quarrow::PlatformInstallation installation(platform);

  std::string buffer;
  std::string csvBuffer;
  if (csv != nullptr) {
    sim::AppendCsvHeader(csvBuffer);
  }
  sim::RunStats stats;
  std::int64_t totalFrames = 0;
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
            Spill(buffer, trace, 1 << 16);
          });
      totalFrames += result.frames;
      sim::AddMatch(stats, result, quarrow::Counts);
      if (csv != nullptr) {
        sim::AppendCsvRow(csvBuffer, match, result, quarrow::Counts);
        Spill(csvBuffer, csv, 1 << 16);
      }
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const sim::Summary summary = sim::Summarize(stats, seed);
  std::string picture;
  if (histogram != nullptr) {
    picture = sim::HistogramSvg(stats.frames, summary);
  }
  for (auto [out, text, what] :
       {std::tuple{trace, &buffer, "trace"}, std::tuple{csv, &csvBuffer, "CSV"},
        std::tuple{histogram, &picture, "histogram"}}) {
    Spill(*text, out);
    if (out != nullptr && !out->flush()) {
      std::fprintf(stderr, "quarrow-sim: writing the %s failed\n", what);
      return 1;
    }
  }
  const double framesPerSecond = seconds > 0 ? totalFrames / seconds : 0.0;
  std::fputs((options.jsonSummary ? sim::SummaryJson(summary, framesPerSecond)
                                  : sim::SummaryText(summary, framesPerSecond))
                 .c_str(),
             report);
  return 0;
}
