#pragma once

namespace quarrow {

// Qt aborts when it cannot open a display. These turn that into one line on stderr and exit
// status 1: a quick check of the environment before Qt starts, then a guard over its start-up.
bool DisplayConfigured();
void ReportNoDisplay();
void GuardPlatformStart();
void EndPlatformGuard();

}  // namespace quarrow
