// quarrow_soak: long runs that no test can afford. "matches N" plays N headless matches over
// several court sizes with the state rules checked every frame; "restarts N" answers Yes N times in
// the real window while sampling memory and open files; "trig N" holds N rounds of 1,100,000 inputs
// of the fast trigonometric forms to the correctly rounded ones. Prints its figures; status 1 on
// any fault.

#include <dirent.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "game/game_state.h"
#include "game/platform.h"
#include "play/frame_loop.h"
#include "rules/trig_agreement.h"
#include "sim/frame.h"
#include "support/invariants.h"

namespace quarrow {
namespace {

int Matches(std::int64_t total) {
  struct Court {
    CourtSize size;
    int share;  // per cent of the matches
  };
  const Court courts[] = {{kStandardCourt, 40},
                          {{kMinCourtWidth, 40}, 20},
                          {{171, 97}, 20},
                          {{200, 120}, 15},
                          {{640, 480}, 5}};
  std::int64_t allFrames = 0;
  std::int64_t allMatches = 0;
  std::int64_t stalls = 0;
  for (const Court& court : courts) {
    const std::int64_t matches = total * court.share / 100;
    const auto seed = static_cast<std::uint32_t>(ClockSeed());
    SeededPlatform platform(seed, court.size);
    const PlatformInstallation installation(platform);
    std::int64_t frames = 0;
    for (std::int64_t match = 1; match <= matches; ++match) {
      testing::Memory memory;
      std::string fault;
      const MatchResult result = PlayMatch(200000, [&](std::int64_t frame) {
        if (fault.empty()) {
          fault = testing::Violation(
              memory, frame > 0 ? testing::Since::LastFrame : testing::Since::MatchStart);
          if (!fault.empty()) {
            fault += " at frame " + std::to_string(frame);
          }
        }
        memory = testing::Remember();
      });
      if (!fault.empty()) {
        std::printf("FAULT: court %dx%d, seed %u, match %lld: %s\n", court.size.width,
                    court.size.height, seed, static_cast<long long>(match), fault.c_str());
        return 1;
      }
      frames += result.frames;
      stalls += result.winner == 0;
    }
    std::printf("court %dx%d: matches %lld, frames %lld\n", court.size.width, court.size.height,
                static_cast<long long>(matches), static_cast<long long>(frames));
    std::fflush(stdout);
    allFrames += frames;
    allMatches += matches;
  }
  std::printf("matches %lld, frames %lld, stalls %lld, faults 0\n",
              static_cast<long long>(allMatches), static_cast<long long>(allFrames),
              static_cast<long long>(stalls));
  return 0;
}

std::int64_t ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::strtoll(line.c_str() + 6, nullptr, 10);
    }
  }
  return -1;
}

int OpenFiles() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd"); dir != nullptr) {
    while (readdir(dir) != nullptr) {
      ++count;
    }
    closedir(dir);
  }
  return count - 3;  // ".", ".." and the directory itself
}

int Restarts(int argc, char** argv, std::int64_t total) {
  QApplication app(argc, argv);
  ApplyWindowSettings();
  Main window;
  MaxMode = kTrue;
  std::int64_t restarts = 0;
  // Sampled after every hundredth restart: the first sample is the baseline once all is warm.
  std::int64_t firstMemory = -1;
  std::int64_t peakMemory = 0;
  std::int64_t lastMemory = 0;
  int firstFiles = -1;
  int peakFiles = 0;
  QTimer driver;
  driver.setInterval(0);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      Teams[1].Lives = 0;  // decide the match at the next frame
      return;
    }
    if (restarts == total) {
      box->button(QMessageBox::No)->click();
      return;
    }
    ++restarts;
    if (restarts % 100 == 0) {
      lastMemory = ResidentKilobytes();
      const int files = OpenFiles();
      if (firstMemory < 0) {
        firstMemory = lastMemory;
        firstFiles = files;
      }
      peakMemory = std::max(peakMemory, lastMemory);
      peakFiles = std::max(peakFiles, files);
    }
    box->button(QMessageBox::Yes)->click();
  });
  driver.start();
  try {
    Form_Load(window);
  } catch (const ProgramEnd&) {
  }
  const std::int64_t growth = lastMemory - firstMemory;
  std::printf(
      "restarts %lld, frames %lld, peak memory %lld kB, memory growth %lld kB after the first "
      "100, open files %d, at most %d\n",
      static_cast<long long>(restarts), static_cast<long long>(window.FramesRun()),
      static_cast<long long>(peakMemory), static_cast<long long>(growth), firstFiles, peakFiles);
  // A leak of one object per restart would show as steady growth; allocator noise stays small.
  if (restarts != total || peakFiles != firstFiles || growth > 2048) {
    std::printf("FAULT: restarts, open files or memory\n");
    return 1;
  }
  return 0;
}

// A million random inputs and a hundred thousand beside rounding boundaries a round, fresh ones
// each time.
int Trig(std::int64_t rounds) {
  std::uint32_t seed = 1000;
  std::int64_t disagreements = 0;
  for (std::int64_t round = 0; round < rounds; ++round) {
    disagreements += testing::Disagreements(seed++, 1'000'000, false);
    disagreements += testing::Disagreements(seed++, 100'000, true);
  }
  std::printf("%lld inputs, %lld disagreements\n", static_cast<long long>(rounds * 1'100'000),
              static_cast<long long>(disagreements));
  return disagreements == 0 ? 0 : 1;
}

}  // namespace
}  // namespace quarrow

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "matches") == 0) {
    return quarrow::Matches(std::atoll(argv[2]));
  }
  if (argc == 3 && std::strcmp(argv[1], "restarts") == 0) {
    return quarrow::Restarts(argc, argv, std::atoll(argv[2]));
  }
  if (argc == 3 && std::strcmp(argv[1], "trig") == 0) {
    return quarrow::Trig(std::atoll(argv[2]));
  }
  std::fprintf(stderr, "usage: quarrow_soak matches N | restarts N | trig N\n");
  return 2;
}
