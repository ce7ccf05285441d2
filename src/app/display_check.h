#pragma once

namespace quarrow {

// Qt aborts when it cannot open a display, or loses it. These turn that into one line on stderr and
// exit status 1: a quick check of the environment before Qt starts, a guard over its start-up, and
// once it has started, a guard over the rest of the run.
bool DisplayConfigured();
void ReportNoDisplay();
void GuardPlatformStart();
void EndPlatformGuard();

}  // namespace quarrow
