#pragma once

#include <string>

namespace quarrow {

// A double as C's %.17g prints it.
void AppendPrecise(std::string& out, double v);

// The shortest text that reads back as the same double, in fixed or scientific notation, whichever
// is shorter (fixed on a tie), as std::to_chars writes it.
void AppendShortest(std::string& out, double v);

namespace detail {
// The same as AppendShortest, through printf and strtod: for a standard library without a
// floating-point to_chars, and the reference the native form is tested against.
void AppendShortestByPrintf(std::string& out, double v);
}  // namespace detail

}  // namespace quarrow
