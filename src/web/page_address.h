#pragma once

// What the page's address asks it to play: ?seed=N follows one run from its seed, as
// quarrow-sim --seed N does, and &match=K starts at its match K. Free of the browser, so that
// anything a link can hold is tried natively.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarrow {

struct PageRun {
  bool seeded = false;  // else a clock seed for every match
  std::uint32_t seed = 0;
  std::int64_t match = 1;
  std::string problem;  // why a link's run is not played, as one line for the page; else empty
};

// search: the address's query, with or without its "?", decoded as a browser decodes a form.
PageRun ReadPageAddress(std::string_view search);

}  // namespace quarrow
