#pragma once

// Checked writing: a report or trace that cannot be written is a failure of the run, never a
// quiet success.

#include <cstdio>
#include <string_view>

#include "text/failure.h"

namespace quarrow {

// The writers below throw OutputFailed.

// Fails at once when the stream's file descriptor is closed, before another file can take it.
void RequireOpen(std::FILE* out, std::string_view name);

// Writes all of text to out, or throws.
void Write(std::FILE* out, std::string_view text, std::string_view name);

// Flushes out and throws when anything written to it since it was opened was lost.
void Finish(std::FILE* out, std::string_view name);

}  // namespace quarrow
