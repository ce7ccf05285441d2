#pragma once

#include <string>
#include <string_view>

namespace quarrow {

// text with every control character written as an escape, so that an error quoting it stays on one
// line and cannot move the terminal's cursor.
std::string Escaped(std::string_view text);

}  // namespace quarrow
