#pragma once

#include <string>
#include <vector>

namespace quarrow {

// Qt aborts when it cannot open a display, or loses it. These turn that into one line on stderr and
// exit status 1: a quick check of the environment before Qt starts, a guard over its start-up, and
// once it has started, a guard over the rest of the run.
bool DisplayConfigured();
void ReportNoDisplay();

// While it lives, what Qt says is held back, and a fatal message (its platform plugin cannot start)
// becomes one line; End() shows what was held and guards the rest of the run. One at a time.
class PlatformStartGuard {
 public:
  PlatformStartGuard();
  ~PlatformStartGuard();
  PlatformStartGuard(const PlatformStartGuard&) = delete;
  PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
  void End();

 private:
  std::vector<std::string> held_;
  bool ended_ = false;
};

}  // namespace quarrow
