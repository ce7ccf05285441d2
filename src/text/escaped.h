#pragma once

#include <string>
#include <string_view>

namespace quarrow {

// text as it is safe to print: UTF-8 characters as they are, and every control character (the
// bidirectional ones too) and every byte that is not part of a well-formed UTF-8 character
// written as an escape (\n, \xff), so that an error quoting it stays on one line, cannot move
// the terminal's cursor or reorder what follows, and is valid UTF-8 itself.
std::string Escaped(std::string_view text);

}  // namespace quarrow
